#pragma once

#include <QString>

#include "UDbError.h"

class QSqlDriver;
class QSqlError;

// The fault an engine error names. Only SQLite's result codes are read
// (plain or extended, as Qt's driver passes either); other engines' codes
// mean other things, and give efNone like codes that tell the user nothing.
TEngineFault EngineFault(const QSqlError &error, const QSqlDriver *driver);

// The fault in one Chinese sentence; empty for efNone.
QString EngineFaultText(TEngineFault fault);

// The error to throw for a failed call on a connection or statement. Its
// message is the Chinese sentence on the first line where the fault is
// known, then the engine's own text unchanged.
EDatabaseError EngineError(const QSqlError &error, const QSqlDriver *driver);

// Says that the bank file, or its folder, cannot be written, naming the
// path; consequence finishes the sentence ("无法保存试卷。").
QString BankNotWritableText(const QString &databaseFile, TEngineFault fault, const QString &consequence);
