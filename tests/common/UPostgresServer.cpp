#include "UPostgresServer.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

namespace {

constexpr uid_t KNobody = 65534;
constexpr int KPort = 5432;
const QString KUser = QStringLiteral("examora");

// The newest installed server's programs, e.g. /usr/lib/postgresql/15/bin.
QString ServerBinDir()
{
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
    for (const QString &version : found) {
        const QString bin = versions.filePath(version + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return QString();
}

bool RunningAsRoot()
{
    return geteuid() == 0;
}

} // namespace

QString TPostgresServer::Unavailable()
{
    if (ServerBinDir().isEmpty())
        return QStringLiteral("PostgreSQL is not installed (no initdb/pg_ctl under /usr/lib/postgresql): "
                              "apt-get install postgresql");
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("Qt's QPSQL driver is missing: apt-get install libqt6sql6-psql");
    if (RunningAsRoot() && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return QStringLiteral("running as root without setpriv, and PostgreSQL refuses to run as root");
    return QString();
}

TPostgresServer::TPostgresServer(const QStringList &options)
    : FBinDir(ServerBinDir())
{
    if (const QString why = Unavailable(); !why.isEmpty()) {
        FError = why;
        return;
    }
    // The socket's path must stay short: a Unix socket name has 107 bytes.
    if (RunningAsRoot() && chown(QFile::encodeName(FDir.path()).constData(), KNobody, KNobody) != 0) {
        FError = QStringLiteral("cannot hand %1 to nobody").arg(FDir.path());
        return;
    }
    const QString data = FDir.filePath(QStringLiteral("data"));
    QString output;
    if (!Run(FBinDir + QStringLiteral("/initdb"),
             {QStringLiteral("-D"), data, QStringLiteral("-U"), KUser, QStringLiteral("-A"), QStringLiteral("trust"),
              QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"), QStringLiteral("-N")},
             &output)) {
        FError = QStringLiteral("initdb failed: ") + output;
        return;
    }
    QFile config(data + QStringLiteral("/postgresql.conf"));
    if (!config.open(QIODevice::Append)) {
        FError = QStringLiteral("cannot write ") + config.fileName();
        return;
    }
    QStringList settings = {QStringLiteral("listen_addresses = ''"),
                            QStringLiteral("unix_socket_directories = '%1'").arg(FDir.path()),
                            QStringLiteral("port = %1").arg(KPort), QStringLiteral("max_connections = 300")};
    settings << options;
    config.write((QLatin1Char('\n') + settings.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    config.close();
    StartWatchdog();
    Start();
}

TPostgresServer::~TPostgresServer()
{
    Stop();
}

void TPostgresServer::Start()
{
    QString output;
    FRunning = Run(FBinDir + QStringLiteral("/pg_ctl"),
                   {QStringLiteral("-D"), FDir.filePath(QStringLiteral("data")), QStringLiteral("-l"),
                    FDir.filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("-t"),
                    QStringLiteral("60"), QStringLiteral("start")},
                   &output);
    if (!FRunning) {
        QFile log(FDir.filePath(QStringLiteral("server.log")));
        log.open(QIODevice::ReadOnly);
        FError = QStringLiteral("pg_ctl start failed: ") + output + QString::fromUtf8(log.readAll());
    }
}

void TPostgresServer::Stop()
{
    if (!FRunning)
        return;
    FRunning = false;
    Run(FBinDir + QStringLiteral("/pg_ctl"),
        {QStringLiteral("-D"), FDir.filePath(QStringLiteral("data")), QStringLiteral("-m"), QStringLiteral("immediate"),
         QStringLiteral("-w"), QStringLiteral("stop")});
}

QStringList TPostgresServer::AsServerUser(const QString &program, const QStringList &arguments) const
{
    if (!RunningAsRoot())
        return QStringList{program} + arguments;
    return QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=%1").arg(KNobody),
                       QStringLiteral("--regid=%1").arg(KNobody), QStringLiteral("--clear-groups"), program}
    + arguments;
}

bool TPostgresServer::Run(const QString &program, const QStringList &arguments, QString *output) const
{
    QStringList command = AsServerUser(program, arguments);
    QProcess process;
    process.setWorkingDirectory(FDir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.takeFirst(), command);
    const bool finished = process.waitForStarted() && process.waitForFinished(120000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A test that crashes or is killed runs no destructor: a small shell beside
// it stops the server once the test's process is gone, and removes the folder.
void TPostgresServer::StartWatchdog()
{
    const QString script = QStringLiteral(
                               "while [ -d /proc/%1 ]; do sleep 1; done; \"%2/pg_ctl\" -D \"%3/data\" -m immediate "
                               "stop >/dev/null 2>&1; rm -rf \"%3\"")
                               .arg(QCoreApplication::applicationPid())
                               .arg(FBinDir, FDir.path());
    QStringList command = AsServerUser(QStringLiteral("sh"), {QStringLiteral("-c"), script});
    QProcess::startDetached(command.takeFirst(), command, QStringLiteral("/"));
}

QString TPostgresServer::ConnInfo(const QString &database) const
{
    return QStringLiteral("host=%1 port=%2 dbname=%3 user=%4").arg(FDir.path()).arg(KPort).arg(database, KUser);
}

QString TPostgresServer::CreateDatabase(const QString &name)
{
    const QString database = QStringLiteral("%1_%2").arg(name.toLower()).arg(++FDatabaseCount);
    const QString connection = QStringLiteral("postgres-server-admin");
    bool created = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setConnectOptions(ConnInfo(QStringLiteral("postgres")));
        if (db.open()) {
            QSqlQuery query(db);
            created = query.exec(QStringLiteral("CREATE DATABASE ") + database);
            if (!created)
                FError = query.lastError().text();
            db.close();
        } else {
            FError = db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return created ? ConnInfo(database) : QString();
}

TPostgresServer &TPostgresServer::Shared()
{
    static TPostgresServer *server = nullptr;
    if (!server) {
        server = new TPostgresServer;
        // Stopped while the application object still stands.
        qAddPostRoutine([] {
            delete server;
            server = nullptr;
        });
    }
    return *server;
}
