#pragma once

#include <QString>
#include <QStringList>

// Names shown and codes behind them, at the same positions.
struct TNameCodeList
{
    QStringList Names;
    QStringList Codes;
};

// The question sets of the chapters of a filter. The statement also lets
// an empty set number through; an empty one is no set and is left out.
// Throws EDatabaseError when the statement fails.
TNameCodeList ReadSetList(const QString &chapterFilter);
// The chapters of a filter: names shown, chapter numbers as codes.
TNameCodeList ReadChapterList(const QString &chapterFilter);
// The practice scope of a chosen set: a one-character number gets a
// leading "0".
QString SetPracticeScope(const QString &setNumber);
