#pragma once

#include <QString>

class TConnection;

// The explanation the bank keeps for a question in T_KS_ThemeNote, or the
// empty text. The table is optional: a bank without it, or a statement that
// fails on it, just has no explanations.
QString ReadExplanation(TConnection *connection, int themeId);

// The line shown below the options: "解析：" and the explanation.
QString ExplanationLine(const QString &explanation);
