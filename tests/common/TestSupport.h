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
// With EXAMORA_TEST_ENGINE=postgres in the environment (the "_postgres"
// run of a test) the bank is a new database on the test's own PostgreSQL
// server instead, with the folder's ExamRoom.cfg pointing at it: the same
// test body then runs on the room's engine.
class TTestBank
{
public:
    TTestBank();
    ~TTestBank();

    // This run's banks are on the PostgreSQL server.
    static bool OnServer();
    // Empty when this run's engine can be used; otherwise why not (QSKIP).
    static QString EngineUnavailable();
    // The connection string of the server database (OnServer only).
    QString ConnInfo() const { return FConnInfo; }

    QString AppPath() const; // with trailing separator
    QString DatabaseFile() const;
    TDM &DataModule() { return *FDM; }
    // A direct connection for arranging rows and checking results.
    QSqlDatabase Db() const;
    void Exec(const QString &sql) const;
    QVariant Scalar(const QString &sql) const;

    // Makes the engine refuse rows, as a failing disk would: every event
    // ("insert", "delete") on the table whose row meets the condition
    // (NEW.… or OLD.…; empty for every row) fails with the message, until
    // AllowRows takes the refusal away again.
    void RefuseRows(const QString &name, const QString &event, const QString &table, const QString &condition,
                    const QString &message) const;
    void AllowRows(const QString &name, const QString &table) const;

    // Inserts a question; unspecified columns get sensible values
    // (part 1, chapter 1, type 2, options "甲" "乙" "丙" "丁" "", result "1", ZT 1).
    void AddTheme(int themeId, const QVariantMap &columns = {});
    // Inserts a template head and returns nothing; content rows with AddContent.
    void AddModel(int modelId, const QString &driveType, const QVariant &randomTheme, int minutes, int isUser = 1);
    void AddContent(int modelId, int part, int chapter, int type, int themeCount, int selectCount, int themeBit,
                    int bitCount);

private:
    void CreateServerBank();

    QTemporaryDir FDir;
    std::unique_ptr<TDM> FDM;
    QString FConnectionName;
    QString FConnInfo;
};

// Skips a test whose engine cannot be had here, saying why.
#define EXAMORA_REQUIRE_TEST_ENGINE()                                                                                  \
    do {                                                                                                               \
        if (const QString why = TTestBank::EngineUnavailable(); !why.isEmpty())                                        \
            QSKIP(qPrintable(why));                                                                                    \
    } while (false)

// Skips a test of what only the local SQLite bank has (its file, its locks).
#define EXAMORA_SQLITE_ONLY()                                                                                          \
    do {                                                                                                               \
        if (TTestBank::OnServer())                                                                                     \
            QSKIP("the local bank's file alone has this");                                                             \
    } while (false)
