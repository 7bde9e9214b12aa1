#pragma once

#include <QString>
#include <QVariant>

class QProcess;
class TXServer;

// Makes a program folder for the real program: a copy of the executable
// and, at Data/Jsy_Data.mdb, a generated bank of 600 questions with a
// template per licence class. False when the executable cannot be copied.
bool MakeProgramFolder(const QString &folder, const QString &executable);

// The first value of a statement on the folder's bank, read through a
// connection of its own that waits while the program writes; invalid when
// the statement fails.
QVariant ProgramFolderScalar(const QString &folder, const QString &sql);

// Starts the folder's program on the X server until its licence dialog
// shows. A program that could not reach the display ends before touching
// the bank; one more start rules out a hiccup of the X server.
bool StartUntilLogin(const TXServer &x, QProcess &program, const QString &folder);
