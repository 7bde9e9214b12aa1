#pragma once

#include <memory>
#include <vector>

#include <QDateTime>
#include <QString>

#include "TestSupport.h"
#include "URecordStore.h"

// One question of a paper a test sits: the answer given and the key.
struct TPaperQuestion
{
    int ThemeID = 0;
    QString Answer;
    QString Result = QStringLiteral("1");
    int Chapter = 1;
    int Type = 2;
    int Bit = 1;
};

// A test bank with the record's tables and a store whose clock moves a
// minute on each reading, so that every paper has its own times.
class TRecordFixture
{
public:
    TRecordFixture();

    TTestBank &Bank() { return FBank; }
    TExamRecord &Store() { return FStore; }
    QDateTime Now() const { return FNow; }

    // Stores the questions as a paper of the mode and opens its record.
    qint64 StorePaper(const QString &mode, const QString &scope, qint64 examineId,
                      const std::vector<TPaperQuestion> &questions, const QString &driveTypeCode = QStringLiteral("001"));
    // Stores a paper and hands it in; returns its RecordID.
    qint64 SitPaper(const QString &mode, const QString &scope, const std::vector<TPaperQuestion> &questions,
                    const QString &driveTypeCode = QStringLiteral("001"));
    // A mock exam of ten questions worth ten points each, right ones first.
    qint64 SitMockExam(int score, int firstThemeId = 1);

    static QString PaperTableOf(const QString &mode);

private:
    TTestBank FBank;
    TExamRecord FStore;
    QDateTime FNow;
    qint64 FNextExamineId = 1;
};
