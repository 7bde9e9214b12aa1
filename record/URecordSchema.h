#pragma once

#include <QString>

class TConnection;

// Creates the learning record's tables in the open bank when they are
// missing; an older bank gains them, and a record table of an
// older version gains the exam room's columns; other tables are never altered.
// Returns false with the user-facing reason when records cannot be kept
// there (a read-only file or folder): the program then runs on without them.
bool EnsureRecordTables(TConnection *connection, QString *reason = nullptr);
