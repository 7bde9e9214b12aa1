#include <QTest>

#include "TestSupport.h"
#include "UComm.h"
#include "UConnectSettings.h"
#include "UConnection.h"
#include "UDM.h"
#include "UVersion.h"

class TestUComm : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void GetField_data();
    void GetField();
    void GetDataSource_data();
    void GetDataSource();
    void CountCharText_data();
    void CountCharText();
    void VersionTexts();
    void MessageBoxesCarryFixedCaptionsAndIcons();
    void ConnectionStringsMapToEngines();
    void TypedValuesReachTheDriverWhole_data();
    void TypedValuesReachTheDriverWhole();
    void AppPathEndsWithOneSeparator();
};

void TestUComm::cleanup()
{
    ClearFileVersionForTesting();
}

void TestUComm::GetField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first of three") << "a|b|c" << 0 << "a";
    QTest::newRow("last of three") << "a|b|c" << 2 << "c";
    QTest::newRow("past the last") << "a|b|c" << 3 << "";
    QTest::newRow("empty field between separators") << "a||b" << 1 << "";
    QTest::newRow("field after the empty one") << "a||b" << 2 << "b";
    QTest::newRow("tab dropped and blanks trimmed") << "x| a\tb |y" << 1 << "ab";
    QTest::newRow("control characters trimmed") << "\x01 abc \x02" << 0 << "abc";
    QTest::newRow("inner blank kept") << "Data Source=my server" << 0 << "Data Source=my server";
    QTest::newRow("cut at 1024 characters") << QString(1500, QLatin1Char('z')) << 0 << QString(1024, QLatin1Char('z'));
}

void TestUComm::GetField()
{
    QFETCH(QString, text);
    QFETCH(int, field);
    QFETCH(QString, expected);
    QCOMPARE(::GetField(text, field, QLatin1Char('|')), expected);
}

void TestUComm::GetDataSource_data()
{
    QTest::addColumn<QString>("connection");
    QTest::addColumn<QString>("expected");
    QTest::newRow("server login string")
        << "Provider=SQLOLEDB.1;Password=x;Persist Security Info=True;User ID=sa;Initial Catalog=db;Data Source=SRV01"
        << "SRV01";
    QTest::newRow("lower-case name") << "Provider=SQLOLEDB.1;data source=.;User ID=sa"
                                     << ".";
    QTest::newRow("jet path")
        << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\x\\\\Data\\Jsy_Data.mdb;Persist Security Info=False"
        << "C:\\x\\\\Data\\Jsy_Data.mdb";
    QTest::newRow("blank before equals does not match") << "Provider=x;Data Source =SRV"
                                                        << "";
    QTest::newRow("missing") << "Provider=x;User ID=sa"
                             << "";
    QTest::newRow("quoted value keeps its semicolon") << "Provider=x;Data Source=\"a;b\";User ID=sa"
                                                      << "a;b";
    QTest::newRow("doubled quote inside") << "Provider=x;Data Source=\"say \"\"hi\"\"\""
                                          << "say \"hi\"";
    QTest::newRow("quoted password does not hide a data source")
        << "Provider=x;Password=\"x;Data Source=other\";Data Source=SRV01"
        << "SRV01";
}

void TestUComm::GetDataSource()
{
    QFETCH(QString, connection);
    QFETCH(QString, expected);
    QCOMPARE(::GetDataSource(connection), expected);
}

void TestUComm::CountCharText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("expected");
    QTest::newRow("digit twice in four") << "1312"
                                         << "1" << 2;
    QTest::newRow("absent") << "1312"
                            << "5" << 0;
    QTest::newRow("two-character search") << "1312"
                                          << "13" << 0;
    QTest::newRow("empty search") << "1312"
                                  << "" << 0;
}

void TestUComm::CountCharText()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(int, expected);
    QCOMPARE(::CountCharText(text, search), expected);
}

void TestUComm::VersionTexts()
{
    SetFileVersionForTesting(TFileVersion{4, 0, 100, 1});
    QCOMPARE(GetVersionText(), QString("4.0"));
    QCOMPARE(GetSystemFlagText(), QString("100.1"));
    SetFileVersionForTesting(std::nullopt);
    QCOMPARE(GetVersionText(), QString("0.00"));
    QCOMPARE(GetSystemFlagText(), QString("0.00"));
    ClearFileVersionForTesting();
    QVERIFY(GetVersionText() != QLatin1String("0.00"));
}

void TestUComm::MessageBoxesCarryFixedCaptionsAndIcons()
{
    TScriptedMessages messages;
    // Every box takes the next answer, also the ones with only OK.
    for (int answer : {1, 1, 2, 1})
        messages.Answer(answer);
    ShowError(QStringLiteral("错了"));
    ShowInfo(QStringLiteral("好了"));
    QCOMPARE(AskOkCancel(QStringLiteral("交卷？")), 2);
    QCOMPARE(AskOkCancel(QStringLiteral("再问")), 1);
    QCOMPARE(messages.Count(), 4);
    QCOMPARE(messages.Shown()[0].Caption, QString("错误"));
    QCOMPARE(messages.Shown()[0].Icon, TMsgIcon::Error);
    QCOMPARE(messages.Shown()[1].Caption, QString("提示"));
    QCOMPARE(messages.Shown()[1].Icon, TMsgIcon::Information);
    QCOMPARE(messages.Shown()[2].Icon, TMsgIcon::Question);
    QCOMPARE(messages.Shown()[2].Buttons, TMsgButtons::OkCancel);
}

void TestUComm::ConnectionStringsMapToEngines()
{
    const TConnectionTarget jet = MapConnectionString(TDM::LocalConnectionString(QStringLiteral("/opt/examora/")));
    QCOMPARE(jet.Kind, TConnectionTarget::ckSqlite);
    QCOMPARE(jet.DatabaseFile, QString("/opt/examora/Data/Jsy_Data.mdb"));

    const TConnectionTarget server = MapConnectionString(
        "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=sa;Initial Catalog= exam;Data Source=db1,1444");
    QCOMPARE(server.Kind, TConnectionTarget::ckSqlServer);
    QCOMPARE(server.Server, QString("db1"));
    QCOMPARE(server.Port, 1444);
    QCOMPARE(server.Database, QString("exam"));
    QCOMPARE(server.Password, QString("pw"));

    const TConnectionTarget integrated = MapConnectionString(
        "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Initial Catalog=exam;Data Source=.");
    QCOMPARE(integrated.Server, QString("127.0.0.1"));
    QCOMPARE(integrated.User, QString("sa"));
    QCOMPARE(integrated.Password, QString());
    QCOMPARE(MapConnectionString("Driver=whatever").Kind, TConnectionTarget::ckInvalid);
}

void TestUComm::TypedValuesReachTheDriverWhole_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "secret";
    QTest::newRow("semicolon and entry") << "x;Data Source=other";
    QTest::newRow("quotes") << "\"quoted\" and 'single";
    QTest::newRow("leading quote") << "'x;y'";
    QTest::newRow("blanks around") << "  pw  ";
    QTest::newRow("braces for ODBC") << "a}b{c;";
}

// Whatever the user types into the dialog arrives at the driver as typed,
// and no typed text can name another server.
void TestUComm::TypedValuesReachTheDriverWhole()
{
    QFETCH(QString, value);
    TConnectSettings settings;
    settings.Mode = TLoginMode::lmUserPassword;
    settings.Server = QStringLiteral("db1");
    settings.Database = value;
    settings.User = value;
    settings.Password = value;
    for (TConnectPurpose purpose : {TConnectPurpose::cpDatabaseList, TConnectPurpose::cpConfirm}) {
        const QString text = BuildConnectString(settings, purpose);
        const TConnectionTarget target = MapConnectionString(text);
        QCOMPARE(target.Server, QString("db1"));
        QCOMPARE(::GetDataSource(text), QString("db1"));
        QCOMPARE(target.Password, value);
        QCOMPARE(target.User, value);
        QCOMPARE(target.Database, value);
        // ODBC reads a braced value up to the single closing brace.
        const QString odbc = target.OdbcConnectString();
        const int pwd = odbc.indexOf(QLatin1String(";PWD=")) + 5;
        QString passed = odbc.mid(pwd, odbc.indexOf(QLatin1String(";TDS_Version")) - pwd);
        if (passed.startsWith(QLatin1Char('{')))
            passed = passed.mid(1, passed.size() - 2).replace(QLatin1String("}}"), QLatin1String("}"));
        QCOMPARE(passed, value);
    }
    settings.Server = value;
    QCOMPARE(MapConnectionString(BuildConnectString(settings, TConnectPurpose::cpConfirm)).Server, value);
}

void TestUComm::AppPathEndsWithOneSeparator()
{
    QCOMPARE(AppPathOf(QStringLiteral("/")), QString("/"));
    QCOMPARE(AppPathOf(QStringLiteral("/opt/examora")), QString("/opt/examora/"));
    QCOMPARE(AppPathOf(QStringLiteral("/opt/examora/")), QString("/opt/examora/"));
}

QTEST_GUILESS_MAIN(TestUComm)
#include "tst_UComm.moc"
