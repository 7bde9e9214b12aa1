#include <QTemporaryDir>
#include <QTest>

#include "app/UIniFile.h"

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
}

QTEST_GUILESS_MAIN(TestUIniFile)
#include "tst_UIniFile.moc"
