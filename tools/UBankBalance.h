#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// How evenly a bank's keys and templates are spread: a learner must not be
// able to pass by guessing "正确", "C" or the longest option. The figures
// are always given; a warning only where a rule is broken. Warnings never
// make a bank unusable.

enum class TBalanceRule {
    TrueKeyShare,     // true/false keyed 正确: 40–60 %
    KeyPosition,      // each of A–D among single-choice keys: 15–35 %
    LongestKey,       // single-choice key the strictly longest option: at most 40 %
    MultipleKeyShare, // the most common multiple-choice key: at most 15 %
    MultipleKeySizes, // keys of two, three and four options all occur
    TemplateTypeMix,  // a template's types within 10 points of the paper's mix
    DuplicateInSet,   // one question text twice in a set
};

struct TBalanceWarning
{
    TBalanceRule Rule;
    QString Text;
};

struct TBankBalance
{
    QStringList Figures;
    QList<TBalanceWarning> Warnings;
};

// The nine licence classes, 科目一 "001" … "005" then 科目四 "101" … "104".
const QStringList &LicenceClassCodes();

// Measures a bank whose tables and columns are sound. Throws EDatabaseError
// when a statement fails.
TBankBalance MeasureBalance(const QSqlDatabase &db);

// The block `check` prints: a heading, the figures, then the warnings.
QStringList BalanceLines(const TBankBalance &balance);
