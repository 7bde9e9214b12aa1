#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "UError.h"
#include "UIniFile.h"

class TestUIniFile : public QObject
{
    Q_OBJECT

private slots:
    void SectionsAndKeysIgnoreCaseAndKeepOrder();
    void ValueIsReplacedInPlace();
    void MissingFileReadsDefaults();
    void GbkFileRoundTrips();
    void GarbageLinesAreIgnored();
    void UnwritableFolderReportsTheFailure();
    void RewriteKeepsEveryLineItDoesNotChange();
    void NewKeysEndTheirSectionNewSectionsTheFile();
    void SectionSpreadOverTwoBlocksReadsAsOne();
    void HugeFileIsReadAndWrittenByName();
    void FreshFileDoesNotKeepTheOldContent();
    void WriteNeverFollowsALinkBesideTheFile_data();
    void WriteNeverFollowsALinkBesideTheFile();
};

void TestUIniFile::SectionsAndKeysIgnoreCaseAndKeepOrder()
{
    TIniFile ini(QStringLiteral("unused"));
    ini.FromBytes("[System]\nTime=45\n[1]\nThemeID=12\nThemeBit=1\n");
    QCOMPARE(ini.ReadString("SYSTEM", "time", "60"), QString("45"));
    QCOMPARE(ini.ReadString("1", "themeid", "-1"), QString("12"));
    ini.WriteString("system", "ThemeCount", "100");
    QCOMPARE(ini.ToBytes(), QByteArray("[System]\nTime=45\nThemeCount=100\n[1]\nThemeID=12\nThemeBit=1\n"));
}

void TestUIniFile::ValueIsReplacedInPlace()
{
    TIniFile ini(QStringLiteral("unused"));
    ini.FromBytes("[A]\nx=1\ny=2\n");
    ini.WriteString("a", "X", "9");
    QCOMPARE(ini.ToBytes(), QByteArray("[A]\nx=9\ny=2\n"));
}

void TestUIniFile::MissingFileReadsDefaults()
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("Theme.Cfg"));
    QCOMPARE(ini.ReadString("System", "Time", "60"), QString("60"));
    QVERIFY(!ini.SectionExists("System"));
    ini.WriteString("System", "Time", "45");
    ini.UpdateFile();
    TIniFile again(dir.filePath("Theme.Cfg"));
    QCOMPARE(again.ReadString("system", "TIME", "60"), QString("45"));
}

void TestUIniFile::GbkFileRoundTrips()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("DBConfig.cfg");
    TIniFile ini(path, TIniFile::ieGbk);
    ini.WriteString("DataBase", QStringLiteral("服务器名"), QStringLiteral("教室服务器"));
    ini.UpdateFile();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains(EncodeGbk(QStringLiteral("服务器名"))));
    QVERIFY(!bytes.contains(QStringLiteral("服务器名").toUtf8()));
    TIniFile back(path, TIniFile::ieGbk);
    QCOMPARE(back.ReadString("database", QStringLiteral("服务器名"), ""), QStringLiteral("教室服务器"));
}

void TestUIniFile::GarbageLinesAreIgnored()
{
    TIniFile ini(QStringLiteral("unused"));
    ini.FromBytes(QByteArray("key-before-section=1\n\xff\xfe junk\n[System\n[System]\n=novalue\nTime=30\r\n"));
    QCOMPARE(ini.ReadString("System", "Time", "60"), QString("30"));
    QCOMPARE(ini.Sections(), QStringList{"System"});
}

void TestUIniFile::UnwritableFolderReportsTheFailure()
{
    TIniFile ini(QStringLiteral("/nonexistent-folder/x/Theme.Cfg"));
    ini.WriteString("System", "Time", "45");
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, ini.UpdateFile());
    QVERIFY_THROWS_EXCEPTION(EExamoraError, ini.UpdateFile());
}

void TestUIniFile::RewriteKeepsEveryLineItDoesNotChange()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("DBConfig.cfg");
    const QString original = QStringLiteral("; 教室的数据库，由管理员填写\r\n"
                                            "\r\n"
                                            "[DataBase]\r\n"
                                            "服务器名 = 旧服务器\r\n"
                                            "# 备注：不要改动\r\n"
                                            "数据库名=Jsy_Data\r\n"
                                            "Timeout=30\r\n"
                                            "\r\n"
                                            "[Other]\r\n"
                                            "Keep=1\r\n");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(EncodeGbk(original));
    }
    TIniFile ini(path, TIniFile::ieGbk);
    ini.WriteString("database", QStringLiteral("服务器名"), QStringLiteral("教室服务器"));
    ini.WriteString("DataBase", QStringLiteral("数据库名"), QStringLiteral("Exam"));
    ini.UpdateFile();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString expected = original;
    expected.replace(QStringLiteral("旧服务器"), QStringLiteral("教室服务器"));
    expected.replace(QStringLiteral("=Jsy_Data"), QStringLiteral("=Exam"));
    QCOMPARE(DecodeGbk(file.readAll()), expected);
}

void TestUIniFile::NewKeysEndTheirSectionNewSectionsTheFile()
{
    TIniFile ini(QStringLiteral("unused"));
    ini.FromBytes("[A]\r\nx=1\r\n\r\n; about B\r\n[B]\r\ny=2");
    ini.WriteString("a", "z", "3");
    ini.WriteString("C", "w", "4");
    ini.WriteString("B", "y", "5");
    QCOMPARE(ini.ToBytes(), QByteArray("[A]\r\nx=1\r\nz=3\r\n\r\n; about B\r\n[B]\r\ny=5\r\n[C]\r\nw=4\r\n"));
    ini.FromBytes("[Empty]\n; nothing yet\n");
    ini.WriteString("empty", "k", "v");
    QCOMPARE(ini.ToBytes(), QByteArray("[Empty]\nk=v\n; nothing yet\n"));
}

void TestUIniFile::SectionSpreadOverTwoBlocksReadsAsOne()
{
    TIniFile ini(QStringLiteral("unused"));
    ini.FromBytes("[S]\na=1\nb=1\n[T]\nt=0\n[s]\nb=2\n");
    QCOMPARE(ini.Sections(), (QStringList{"S", "T"}));
    QCOMPARE(ini.ReadString("S", "a", ""), QString("1"));
    QCOMPARE(ini.ReadString("S", "B", ""), QString("2")); // the later line counts
    ini.WriteString("S", "b", "3");
    ini.WriteString("S", "c", "4");
    QCOMPARE(ini.ToBytes(), QByteArray("[S]\na=1\nb=1\n[T]\nt=0\n[s]\nb=3\nc=4\n"));
    QCOMPARE(ini.ReadString("s", "b", ""), QString("3"));
}

void TestUIniFile::HugeFileIsReadAndWrittenByName()
{
    constexpr int KSections = 200000;
    QByteArray text = "[System]\nTime=45\n";
    text.reserve(KSections * 32);
    for (int n = 1; n <= KSections; ++n)
        text += "[" + QByteArray::number(n) + "]\nThemeID=" + QByteArray::number(n * 3) + "\nThemeBit=1\n";
    TIniFile ini(QStringLiteral("unused"));
    ini.FromBytes(text);
    QCOMPARE(ini.Sections().size(), KSections + 1);
    QCOMPARE(ini.Sections().last(), QString::number(KSections));
    QCOMPARE(ini.ReadString("199999", "THEMEID", "-1"), QString::number(199999 * 3));
    QCOMPARE(ini.ReadString("200001", "ThemeID", "-1"), QString("-1"));
    ini.WriteString("system", "ThemeCount", QString::number(KSections));
    ini.WriteString("100000", "ThemeBit", "7");
    QByteArray expected = text;
    expected.replace("[System]\nTime=45\n", "[System]\nTime=45\nThemeCount=200000\n");
    expected.replace("[100000]\nThemeID=300000\nThemeBit=1\n", "[100000]\nThemeID=300000\nThemeBit=7\n");
    QCOMPARE(ini.ToBytes(), expected);
}

void TestUIniFile::FreshFileDoesNotKeepTheOldContent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Theme.Cfg");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[System]\nTime=60\n[9]\nThemeID=9\n");
    }
    TIniFile ini = TIniFile::Fresh(path);
    QVERIFY(!ini.SectionExists("9"));
    ini.WriteString("System", "Time", "45");
    ini.UpdateFile();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[System]\nTime=45\n"));
}

void TestUIniFile::WriteNeverFollowsALinkBesideTheFile_data()
{
    QTest::addColumn<QString>("linkName");
    QTest::newRow("partial file") << "Theme.Cfg.partial";
    QTest::newRow("temporary file") << "Theme.Cfg.tmp";
    QTest::newRow("backup file") << "Theme.Cfg~";
}

void TestUIniFile::WriteNeverFollowsALinkBesideTheFile()
{
    QFETCH(QString, linkName);
    QTemporaryDir dir;
    const QString victim = dir.filePath("victim.txt");
    {
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("untouched");
    }
    QVERIFY(QFile::link(victim, dir.filePath(linkName)));
    TIniFile ini(dir.filePath("Theme.Cfg"));
    ini.WriteString("System", "Time", "45");
    ini.UpdateFile();
    QFile file(victim);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("untouched"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"Theme.Cfg", linkName, "victim.txt"}));
    QCOMPARE(TIniFile(dir.filePath("Theme.Cfg")).ReadString("System", "Time", ""), QString("45"));
}

QTEST_GUILESS_MAIN(TestUIniFile)
#include "tst_UIniFile.moc"
