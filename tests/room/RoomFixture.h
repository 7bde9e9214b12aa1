#pragma once

#include <QDateTime>
#include <QString>

#include "TestSupport.h"
#include "URecordStore.h"

// A paper sat at one seat of the room.
struct TSeatPaper
{
    qint64 RecordID = 0;
    qint64 ExamineID = 0;
};

// A test bank with the record tables, written as the seats of a room write
// it: each paper stored, its record opened through the real store with the
// candidate and the room, answered, kept current and handed in.
class TRoomFixture
{
public:
    TRoomFixture();

    TTestBank &Bank() { return FBank; }
    TExamRecord &Store() { return FStore; }
    // The time the store writes; moves on only when set.
    QDateTime Now;

    // A mock exam of `questions` questions worth 100 points together for the
    // candidate at the seat of the room (none: outside a room).
    TSeatPaper SitDown(const QString &seat, const QString &name, const QString &idNumber,
                       const QString &room = QStringLiteral("第一考场"), int questions = 10);
    // Answers the first `answered` questions, the first `right` of them right.
    void Answer(const TSeatPaper &paper, int answered, int right, int secondsLeft);
    TRecordOutcome HandIn(const TSeatPaper &paper, int secondsLeft);

private:
    TTestBank FBank;
    TExamRecord FStore;
    qint64 FNextExamineId = 1;
};
