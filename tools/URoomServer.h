#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TConnection;

// The bank tool's side of an exam room: the room's PostgreSQL server, named
// by a libpq connection string. Each function throws EDatabaseError with
// the reason; nothing is left half done.

// Opens the server of the connection string on the connection.
void OpenRoomServer(TConnection &server, const QString &connInfo);

// True when the text names a server rather than a bank file.
bool IsConnInfo(const QString &text);

// Creates the bank's tables (questions, chapters, parts, templates, their
// rows, explanations, the two paper tables) and the learning record's
// tables. Refuses a server that already has the bank's tables.
void InitServer(TConnection &server);

// The rows copied into each table, in copying order.
using TPushReport = QList<QPair<QString, qint64>>;

// Copies the bank file's questions with their pictures, chapters, parts,
// templates with their rows and explanations in one transaction. A server
// that already holds questions is refused unless replace is given; then the
// old bank's rows go first (papers and records stay).
TPushReport PushBank(const QString &bankFile, TConnection &server, bool replace);

// The learning records on the server, a header row first, oldest first;
// since (an ISO date, or empty for all) keeps the papers started that day
// or later.
QList<QStringList> ResultRows(TConnection &server, const QString &since);
