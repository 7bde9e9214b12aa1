#include <future>
#include <thread>

#include <QElapsedTimer>
#include <QTest>
#include <QUdpSocket>

#include "UConnection.h"
#include "UDbError.h"
#include "USqlBrowser.h"

namespace {

QByteArray Reply(const QByteArray &text)
{
    QByteArray reply;
    reply += char(0x05);
    reply += char(text.size() & 0xff);
    reply += char((text.size() >> 8) & 0xff);
    return reply + text;
}

} // namespace

class TestUSqlBrowser : public QObject
{
    Q_OBJECT

private slots:
    void InstancePortFromReply_data();
    void InstancePortFromReply();
    void AsksTheBrowserForTheInstance();
    void NoBrowserFailsAtOnce();
    void NamedInstanceWithoutBrowserFailsTheOpen();
};

void TestUSqlBrowser::InstancePortFromReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("instance");
    QTest::addColumn<int>("port");
    const QByteArray express = "ServerName;PC1;InstanceName;SQLEXPRESS;IsClustered;No;Version;15.0.2000.5;tcp;14330;;";
    const QByteArray two = "ServerName;PC1;InstanceName;A;IsClustered;No;Version;15.0;tcp;1501;;"
                           "ServerName;PC1;InstanceName;B;IsClustered;No;Version;15.0;np;\\\\PC1\\pipe\\b;tcp;1502;;";
    QTest::newRow("one instance") << Reply(express) << "SQLEXPRESS" << 14330;
    QTest::newRow("any letter case") << Reply(express) << "sqlexpress" << 14330;
    QTest::newRow("second of two") << Reply(two) << "B" << 1502;
    QTest::newRow("other instance only") << Reply(express) << "OTHER" << 0;
    QTest::newRow("no tcp entry") << Reply("ServerName;PC1;InstanceName;X;np;\\\\PC1\\pipe;;") << "X" << 0;
    QTest::newRow("not a response") << QByteArray("\x04SQLEXPRESS") << "SQLEXPRESS" << 0;
    QTest::newRow("truncated") << QByteArray("\x05\x01") << "SQLEXPRESS" << 0;
}

void TestUSqlBrowser::InstancePortFromReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, instance);
    QFETCH(int, port);
    QCOMPARE(::InstancePortFromReply(reply, instance), port);
}

void TestUSqlBrowser::AsksTheBrowserForTheInstance()
{
    // The browser answers from its own thread while the lookup waits.
    std::promise<quint16> bound;
    QByteArray request;
    std::thread responder([&bound, &request] {
        QUdpSocket socket;
        bound.set_value(socket.bind(QHostAddress::LocalHost, 0) ? socket.localPort() : 0);
        if (!socket.waitForReadyRead(5000))
            return;
        QHostAddress sender;
        quint16 senderPort = 0;
        request.resize(int(socket.pendingDatagramSize()));
        socket.readDatagram(request.data(), request.size(), &sender, &senderPort);
        socket.writeDatagram(Reply("ServerName;PC1;InstanceName;SQLEXPRESS;IsClustered;No;tcp;14330;;"), sender,
                             senderPort);
    });
    const quint16 browserPort = bound.get_future().get();
    const int port = browserPort == 0
        ? -1
        : LookupInstancePort(QStringLiteral("127.0.0.1"), QStringLiteral("SQLEXPRESS"), browserPort, 3000);
    responder.join();
    QVERIFY(browserPort != 0);
    QCOMPARE(request, QByteArray("\x04SQLEXPRESS", 11) + '\0');
    QCOMPARE(port, 14330);
}

void TestUSqlBrowser::NoBrowserFailsAtOnce()
{
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
    const quint16 closedPort = probe.localPort();
    probe.close();
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(LookupInstancePort(QStringLiteral("127.0.0.1"), QStringLiteral("SQLEXPRESS"), closedPort, 1000), 0);
    QVERIFY(clock.elapsed() < 5000);
    QCOMPARE(LookupInstancePort(QStringLiteral("no-such-host.invalid"), QStringLiteral("X"), closedPort, 1000), 0);
}

void TestUSqlBrowser::NamedInstanceWithoutBrowserFailsTheOpen()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        QSKIP("the QODBC driver is not installed");
    const QString connectionString = QStringLiteral(
        "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=sa;Initial Catalog=db;"
        "Data Source=127.0.0.1\\NOSUCHINSTANCE");
    const TConnectionTarget target = MapConnectionString(connectionString);
    QCOMPARE(target.Server, QStringLiteral("127.0.0.1"));
    QCOMPARE(target.Instance, QStringLiteral("NOSUCHINSTANCE"));
    TConnection connection;
    connection.SetConnectionString(connectionString);
    QElapsedTimer clock;
    clock.start();
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, connection.Open());
    // A generous bound: the driver's own lookup would retry for about 16 s.
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(!connection.Connected());
}

QTEST_GUILESS_MAIN(TestUSqlBrowser)
#include "tst_USqlBrowser.moc"
