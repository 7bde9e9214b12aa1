#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <QTest>

#include "app/UJpeg.h"
#include "tools/USampleBank.h"
#include "tools/USignPictures.h"

class TTestSignPictures : public QObject
{
    Q_OBJECT

private slots:
    void everyKeyDrawsAFullPicture_data();
    void everyKeyDrawsAFullPicture();
    void everyKeyDrawsItsOwnPicture();
    void unknownKeyDrawsNothing();
    void everyPictureIsUsedByASampleQuestion();
};

void TTestSignPictures::everyKeyDrawsAFullPicture_data()
{
    QTest::addColumn<QString>("key");
    for (const QString &key : SignPictureKeys())
        QTest::newRow(qPrintable(key)) << key;
}

void TTestSignPictures::everyKeyDrawsAFullPicture()
{
    QFETCH(QString, key);
    const QImage image = DrawSignPicture(key);
    QCOMPARE(image.size(), QSize(KSignPictureWidth, KSignPictureHeight));
    const QImage decoded = DecodeJpeg(EncodeJpeg(image, 88));
    QCOMPARE(decoded.size(), image.size());
}

// Two keys drawing the same picture would ask two different questions
// about one sign, and a drawing that lost its symbol equals its blank kin.
void TTestSignPictures::everyKeyDrawsItsOwnPicture()
{
    QHash<QByteArray, QString> drawn;
    for (const QString &key : SignPictureKeys()) {
        const QImage image = DrawSignPicture(key);
        const QByteArray pixels(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
        const QByteArray digest = QCryptographicHash::hash(pixels, QCryptographicHash::Sha1);
        QVERIFY2(!drawn.contains(digest), qPrintable(key + QStringLiteral(" looks like ") + drawn.value(digest)));
        drawn.insert(digest, key);
    }
}

void TTestSignPictures::unknownKeyDrawsNothing()
{
    QVERIFY(DrawSignPicture(QStringLiteral("no-such-sign")).isNull());
    QVERIFY(DrawSignPicture(QString()).isNull());
}

void TTestSignPictures::everyPictureIsUsedByASampleQuestion()
{
    QSet<QString> used;
    for (const TSampleQuestion &question : ReadSampleQuestions())
        used.insert(question.PictureKey);
    for (const QString &key : SignPictureKeys())
        QVERIFY2(used.contains(key), qPrintable(key));
}

QTEST_MAIN(TTestSignPictures)
#include "tst_USignPictures.moc"
