#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PostgreSQL server of the test's own: a fresh cluster in a temporary
// folder, reached only through a Unix socket in that folder. PostgreSQL
// refuses to run as root, so under root the cluster belongs to "nobody".
// The server stops with the object, and a watchdog stops it as well when
// the test process dies without running its destructors.
class TPostgresServer
{
public:
    // Empty when a server can be started here; otherwise why not, for QSKIP.
    static QString Unavailable();

    // Starts the server; Error() says why when it did not start. Options
    // are extra "-c name=value" settings of the server.
    explicit TPostgresServer(const QStringList &options = {});
    ~TPostgresServer();
    TPostgresServer(const TPostgresServer &) = delete;
    TPostgresServer &operator=(const TPostgresServer &) = delete;

    bool Running() const { return FRunning; }
    QString Error() const { return FError; }

    // A new empty database; its libpq connection string, or empty on error.
    QString CreateDatabase(const QString &name);
    // The connection string of a database of this server.
    QString ConnInfo(const QString &database) const;
    // Stops the server at once, as a crash of the server machine would,
    // and starts it again on the same cluster.
    void Stop();
    void Start();

    // One server shared by every case of a test program, started on first
    // use and stopped when the program ends.
    static TPostgresServer &Shared();

private:
    bool Run(const QString &program, const QStringList &arguments, QString *output = nullptr) const;
    QStringList AsServerUser(const QString &program, const QStringList &arguments) const;
    void StartWatchdog();

    QTemporaryDir FDir;
    QString FBinDir;
    bool FRunning = false;
    QString FError;
    int FDatabaseCount = 0;
};
