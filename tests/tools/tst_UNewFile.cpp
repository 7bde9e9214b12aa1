#include <memory>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "UDbError.h"
#include "UNewFile.h"

namespace {

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QStringList Entries(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestUNewFile : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    QString FName;

    // What may have the name already: "file", "folder", "link" (to a file)
    // or "dangling link"; returns the path a link points to.
    QString Take(const QString &kind)
    {
        const QString pointee = FDir->filePath(QStringLiteral("pointee"));
        if (kind == QLatin1String("file"))
            Write(FName, "someone's bank");
        else if (kind == QLatin1String("folder"))
            QDir().mkdir(FName);
        else if (kind == QLatin1String("link"))
            Write(pointee, "someone's bank");
        if (kind.endsWith(QLatin1String("link")))
            QFile::link(pointee, FName);
        return pointee;
    }

private slots:
    void initTestCase() { ::umask(022); }

    void init()
    {
        FDir = std::make_unique<QTemporaryDir>();
        FName = FDir->filePath(QStringLiteral("bank.sqlite"));
    }

    void WritesUnderItsOwnNameUntilCommitted()
    {
        Write(FName + QStringLiteral(".partial"), "not ours");
        TNewFile file(FName);
        QVERIFY(file.TemporaryName().startsWith(FName));
        QCOMPARE(QFileInfo(file.TemporaryName()).size(), 0);
        Write(file.TemporaryName(), "new bank");
        QVERIFY(!QFile::exists(FName));
        file.Commit();
        QCOMPARE(Read(FName), QByteArray("new bank"));
        QCOMPARE(Read(FName + QStringLiteral(".partial")), QByteArray("not ours"));
        QCOMPARE(Entries(*FDir), QStringList({QStringLiteral("bank.sqlite"), QStringLiteral("bank.sqlite.partial")}));
        // Readable by others as any file the user writes, not only by its owner.
        QCOMPARE(QFileInfo(FName).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::ReadGroup | QFile::ReadOther);
    }

    void LeavesNothingUncommitted()
    {
        {
            TNewFile file(FName);
            Write(file.TemporaryName(), "half a bank");
        }
        QVERIFY(Entries(*FDir).isEmpty());
    }

    void RefusesTakenNames_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("file") << "file"
                              << "exists already; choose a new file name";
        QTest::newRow("folder") << "folder"
                                << "exists already; choose a new file name";
        QTest::newRow("link to a file") << "link"
                                        << "is a symbolic link; choose a new file name";
        QTest::newRow("dangling link") << "dangling link"
                                       << "is a symbolic link; choose a new file name";
    }

    void RefusesTakenNames()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QString pointee = Take(kind);
        const QStringList before = Entries(*FDir);
        try {
            TNewFile file(FName);
            QFAIL("a taken name was accepted");
        } catch (const EDatabaseError &error) {
            QCOMPARE(error.Message(), FName + QLatin1Char(' ') + message);
        }
        QCOMPARE(Entries(*FDir), before);
        if (kind == QLatin1String("link"))
            QCOMPARE(Read(pointee), QByteArray("someone's bank"));
    }

    void CommitNeverReplacesWhatAppearedMeanwhile_data() { RefusesTakenNames_data(); }

    void CommitNeverReplacesWhatAppearedMeanwhile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        {
            TNewFile file(FName);
            Write(file.TemporaryName(), "new bank");
            const QString pointee = Take(kind);
            try {
                file.Commit();
                QFAIL("commit replaced what appeared");
            } catch (const EDatabaseError &error) {
                QCOMPARE(error.Message(), FName + QLatin1Char(' ') + message);
            }
            if (kind == QLatin1String("file") || kind == QLatin1String("link"))
                QCOMPARE(Read(kind == QLatin1String("file") ? FName : pointee), QByteArray("someone's bank"));
            if (kind == QLatin1String("dangling link"))
                QVERIFY(!QFile::exists(pointee));
        }
        QVERIFY(!Entries(*FDir).join(QLatin1Char(' ')).contains(QLatin1String("partial")));
    }
};

QTEST_GUILESS_MAIN(TestUNewFile)
#include "tst_UNewFile.moc"
