#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include "UJpeg.h"
#include "USampleBank.h"
#include "USignPictures.h"

class TTestSignPictures : public QObject
{
    Q_OBJECT

private slots:
    void everyKeyDrawsAFullPicture_data();
    void everyKeyDrawsAFullPicture();
    void everyKeyDrawsItsOwnPicture();
    void everyKeyDrawsMoreThanItsBackground_data();
    void everyKeyDrawsMoreThanItsBackground();
    void keysAreUniqueAndNameTheirKind();
    void everyKindOfPictureIsDrawn_data();
    void everyKindOfPictureIsDrawn();
    void unknownKeyDrawsNothing();
    void everyPictureIsUsedByASampleQuestion();
    void everyQuestionFilePictureIsDrawn();
};

namespace {

// The picture keys of the per-author question files, read by the name of
// their Picture column.
QList<QPair<QString, QString>> QuestionFilePictures()
{
    QList<QPair<QString, QString>> pictures;
    const QDir folder(QStringLiteral(EXAMORA_SOURCE_DIR "/data/sample/questions"));
    for (const QString &name : folder.entryList({QStringLiteral("*.tsv")}, QDir::Files)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const int column = lines.value(0).trimmed().split(QLatin1Char('\t')).indexOf(QStringLiteral("Picture"));
        for (int i = 1; column >= 0 && i < lines.size(); ++i) {
            const QString key = lines[i].trimmed().split(QLatin1Char('\t')).value(column);
            if (!key.isEmpty())
                pictures.append({name + QStringLiteral(" line %1").arg(i + 1), key});
        }
    }
    return pictures;
}

// The share of pixels that differ from the most frequent colour.
double ShareOffBackground(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    int most = 0;
    for (int count : std::as_const(counts))
        most = qMax(most, count);
    const int total = image.width() * image.height();
    return double(total - most) / total;
}

} // namespace

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

void TTestSignPictures::everyKeyDrawsMoreThanItsBackground_data()
{
    everyKeyDrawsAFullPicture_data();
}

// A symbol lost to a wrong scale or colour leaves a picture of one colour
// or a bare post against the sky; every sign and lamp covers far more.
void TTestSignPictures::everyKeyDrawsMoreThanItsBackground()
{
    QFETCH(QString, key);
    const QImage image = DrawSignPicture(key);
    QVERIFY2(ShareOffBackground(image) > 0.04, qPrintable(QString::number(ShareOffBackground(image))));
}

void TTestSignPictures::keysAreUniqueAndNameTheirKind()
{
    const QStringList keys = SignPictureKeys();
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    const QRegularExpression kinds(QStringLiteral("^(ban|warn|must|guide|mark|light|gesture|dash)-[a-z0-9.-]+$"));
    for (const QString &key : keys)
        QVERIFY2(kinds.match(key).hasMatch(), qPrintable(key));
}

void TTestSignPictures::everyKindOfPictureIsDrawn_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("police hand signals") << QStringList{
        QStringLiteral("gesture-stop"),       QStringLiteral("gesture-straight"),
        QStringLiteral("gesture-left-turn"),  QStringLiteral("gesture-left-turn-wait"),
        QStringLiteral("gesture-right-turn"), QStringLiteral("gesture-change-lane"),
        QStringLiteral("gesture-slow-down"),  QStringLiteral("gesture-pull-over")};
    QTest::newRow("prohibition signs") << QStringList{
        QStringLiteral("ban-overtaking"), QStringLiteral("ban-overtaking-end"), QStringLiteral("ban-width-3"),
        QStringLiteral("ban-mass-10t"),   QStringLiteral("ban-non-motor"),      QStringLiteral("ban-pedestrians"),
        QStringLiteral("ban-right-turn"), QStringLiteral("ban-straight"),       QStringLiteral("ban-speed-40-end")};
    QTest::newRow("warning signs") << QStringList{
        QStringLiteral("warn-pedestrians"), QStringLiteral("warn-children"),
        QStringLiteral("warn-steep-up"),    QStringLiteral("warn-steep-down"),
        QStringLiteral("warn-winding"),     QStringLiteral("warn-narrow-bridge"),
        QStringLiteral("warn-slippery"),    QStringLiteral("warn-falling-rocks"),
        QStringLiteral("warn-tunnel"),      QStringLiteral("warn-roadworks"),
        QStringLiteral("warn-non-motor"),   QStringLiteral("warn-unguarded-railway"),
        QStringLiteral("warn-two-way"),     QStringLiteral("warn-merge")};
    QTest::newRow("indication signs") << QStringList{
        QStringLiteral("must-one-way"),    QStringLiteral("must-keep-left"),      QStringLiteral("must-crosswalk"),
        QStringLiteral("must-motor-lane"), QStringLiteral("must-non-motor-lane"), QStringLiteral("must-bus-lane"),
        QStringLiteral("must-u-turn")};
    QTest::newRow("guide signs") << QStringList{QStringLiteral("guide-expressway-entrance"),
                                                QStringLiteral("guide-service-area"),
                                                QStringLiteral("guide-emergency-stop"), QStringLiteral("guide-distance")};
    QTest::newRow("road markings") << QStringList{QStringLiteral("mark-channelizing"),
                                                  QStringLiteral("mark-left-turn-waiting"),
                                                  QStringLiteral("mark-bus-lane"),
                                                  QStringLiteral("mark-variable-lane"),
                                                  QStringLiteral("mark-tidal-lane"),
                                                  QStringLiteral("mark-slowing-longitudinal"),
                                                  QStringLiteral("mark-crossing-ahead")};
    QTest::newRow("instrument lamps") << QStringList{
        QStringLiteral("dash-oil-pressure"), QStringLiteral("dash-charging"),  QStringLiteral("dash-engine"),
        QStringLiteral("dash-seat-belt"),    QStringLiteral("dash-brake"),     QStringLiteral("dash-abs"),
        QStringLiteral("dash-coolant"),      QStringLiteral("dash-low-fuel"),  QStringLiteral("dash-door-open"),
        QStringLiteral("dash-high-beam"),    QStringLiteral("dash-front-fog"), QStringLiteral("dash-hazard")};
}

void TTestSignPictures::everyKindOfPictureIsDrawn()
{
    QFETCH(QStringList, keys);
    const QStringList known = SignPictureKeys();
    for (const QString &key : keys)
        QVERIFY2(known.contains(key) && !DrawSignPicture(key).isNull(), qPrintable(key));
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
    for (const auto &[where, key] : QuestionFilePictures())
        used.insert(key);
    for (const QString &key : SignPictureKeys())
        QVERIFY2(used.contains(key), qPrintable(key));
}

void TTestSignPictures::everyQuestionFilePictureIsDrawn()
{
    const QStringList known = SignPictureKeys();
    for (const auto &[where, key] : QuestionFilePictures())
        QVERIFY2(known.contains(key), qPrintable(where + QStringLiteral(": ") + key));
}

QTEST_MAIN(TTestSignPictures)
#include "tst_USignPictures.moc"
