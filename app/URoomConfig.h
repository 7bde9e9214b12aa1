#pragma once

#include <optional>

#include <QString>

// The exam room's settings file beside the executable. Without it the
// program runs on its local bank; with it, on the room's PostgreSQL server.
// Passwords never go here: libpq's password and service files hold them.
struct TRoomConfig
{
    QString ConnInfo; // a libpq connection string: "service=examroom", "host=… dbname=…"
    QString Name;     // the room's name, shown in titles and kept in records
};

inline const QString KRoomConfigFile = QStringLiteral("ExamRoom.cfg");

// The settings of the program folder appPath (ending in the separator);
// nothing when the folder has no ExamRoom.cfg. A file without a
// connection string throws EExamoraError with the reason.
std::optional<TRoomConfig> ReadRoomConfig(const QString &appPath);
