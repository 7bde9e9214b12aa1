#pragma once

#include <QString>

class TIniFile;

// The settings file in which a mock-exam draw leaves its paper.
QString ThemeCfgFileName();

// Every copy of the program in the folder shares Theme.Cfg: it is deleted
// and written only while holding a lock file beside it. Writing throws when
// the file cannot be written, EExamoraError when the lock cannot be taken.
void RemoveThemeCfg();
void WriteThemeCfg(TIniFile &themeCfg);

// Empty when Theme.Cfg can be written; otherwise the message that says the
// program folder takes no files, with its path.
QString ThemeCfgWriteProblem();
