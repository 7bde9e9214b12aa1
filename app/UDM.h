#pragma once

#include <functional>

#include <QString>

class TConnection;

// The data module: owns the one database connection of the run.
class TDM
{
public:
    TDM();
    ~TDM();
    TDM(const TDM &) = delete;
    TDM &operator=(const TDM &) = delete;

    // Fills AppPath and opens ACon on Data/Jsy_Data.mdb; on failure shows
    // the connection dialog once (through RunConnectDialog) and retries. A
    // bank that cannot be written is said so instead, and the run ends.
    // The second failure's EDatabaseError leaves this handler. With
    // ExamRoom.cfg in the folder the room's server is opened instead, and a
    // failure is shown and ends the run.
    void DataModuleCreate(const QString &applicationDirPath);

    // The start-up connection string for a program folder (AppPath).
    static QString LocalConnectionString(const QString &appPath);

    TConnection *ACon;
    // Shows the connection settings dialog modally; returns 1 (OK) or 2.
    std::function<int()> RunConnectDialog;

private:
    // False when the folder has no ExamRoom.cfg; otherwise the server is
    // open, or the failure has been shown and the quit requested.
    bool OpenRoomServer();
};

extern TDM *DM;

// AppPath of a folder: the folder with exactly one trailing separator.
QString AppPathOf(const QString &folder);
