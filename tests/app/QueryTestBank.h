#pragma once

#include <memory>

#include <QList>
#include <QString>

#include "TestSupport.h"

// The bank the query tests share: four questions in three chapters, one
// exam model with its content.
std::unique_ptr<TTestBank> MakeQueryTestBank();

// Stores the questions as a paper of the given number, ID counting from 1.
void StorePaper(const TTestBank &bank, const QString &table, int examineId, const QList<int> &themeIds);
