#pragma once

#include <deque>
#include <memory>
#include <vector>

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

#include "UMessageSeam.h"

class TDM;

// Records every message box and answers from a script (default: OK).
class TScriptedMessages
{
public:
    TScriptedMessages();
    ~TScriptedMessages();

    void Answer(int button) { FAnswers.push_back(button); }
    void SetDefaultAnswer(int button) { FDefault = button; }
    const std::vector<TMessageRequest> &Shown() const { return FShown; }
    int Count() const { return int(FShown.size()); }
    const TMessageRequest &Last() const { return FShown.back(); }
    void Clear() { FShown.clear(); }
    // Runs while a box is "open" (e.g. to let a timer tick inside it).
    std::function<void(const TMessageRequest &)> WhileOpen;

private:
    std::vector<TMessageRequest> FShown;
    std::deque<int> FAnswers;
    int FDefault = 1;
};

// A program folder in a temporary directory with an empty bank of the
// real schema at Data/Jsy_Data.mdb, opened as DM.ACon with AppPath set.
class TTestBank
{
public:
    TTestBank();
    ~TTestBank();

    QString AppPath() const;          // with trailing separator
    QString DatabaseFile() const;
    TDM &DataModule() { return *FDM; }
    // A direct connection for arranging rows and checking results.
    QSqlDatabase Db() const;
    void Exec(const QString &sql) const;
    QVariant Scalar(const QString &sql) const;

    // Inserts a question; unspecified columns get sensible values
    // (part 1, chapter 1, type 2, options "甲" "乙" "丙" "丁" "", result "1", ZT 1).
    void AddTheme(int themeId, const QVariantMap &columns = {});
    // Inserts a template head and returns nothing; content rows with AddContent.
    void AddModel(int modelId, const QString &driveType, const QVariant &randomTheme, int minutes, int isUser = 1);
    void AddContent(int modelId, int part, int chapter, int type, int themeCount, int selectCount,
                    int themeBit, int bitCount);

private:
    QTemporaryDir FDir;
    std::unique_ptr<TDM> FDM;
    QString FConnectionName;
};
