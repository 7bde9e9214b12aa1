#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

// Writing new bank files: the schema of the six tables, in one SQLite file.
// Every function throws EDatabaseError with the engine's text on failure.

// The statements of the bank schema (tables and indexes), in file order.
QStringList BankSchemaStatements();
// The same tables for the exam room's PostgreSQL server: pictures are
// bytea, integers have SQLite's 64 bits, and a key the bank numbers itself
// is an identity column, as an SQLite INTEGER PRIMARY KEY numbers itself.
QStringList ServerSchemaStatements();

// Creates (or replaces) the file and opens it under the connection name.
QSqlDatabase CreateBankFile(const QString &fileName, const QString &connectionName);
// Opens a file that is new or empty under the connection name and writes
// the schema into it, without removing anything first.
QSqlDatabase OpenNewBankFile(const QString &fileName, const QString &connectionName);
void ExecBankSql(QSqlDatabase &db, const QString &sql);
// A forward-only result of the statement; throws EDatabaseError naming it.
QSqlQuery OpenBankQuery(const QSqlDatabase &db, const QString &sql);

// One template per licence class: class code, minutes, points per question,
// a fixed mix of question types with a share of the class's own topics,
// and the content rows it draws from (filled from what the bank really
// holds, so that every ThemeCount equals its candidates).
void WriteTemplates(QSqlDatabase &db);

// N generated questions for benchmarks; pictureShare of them (0…1) carry a
// JPEG of about pictureBytes.
void WriteSyntheticBank(QSqlDatabase &db, int questionCount, double pictureShare, int pictureBytes);
