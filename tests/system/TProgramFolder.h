#pragma once

#include <QString>

// Makes a program folder for the real program: a copy of the executable
// and, at Data/Jsy_Data.mdb, a generated bank of 600 questions with a
// template per licence class. False when the executable cannot be copied.
bool MakeProgramFolder(const QString &folder, const QString &executable);
