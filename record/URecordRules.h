#pragma once

#include <optional>

#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "UExamRules.h"

class TConnection;

// What a learning record's stored codes mean, shared by the store, the
// wrong-answer book and the report.

enum class TRecordMode { MockExam, SetPractice, ChapterPractice, WrongPractice, Unknown };

// "", "0" and "3" are the mock exam, "1" set, "2" chapter and "4"
// wrong-answer practice; anything else is a code this program never wrote.
TRecordMode RecordModeOf(const QString &practiceMode);
// "模拟考试", "套题练习", "章节练习", "错题练习"; an unknown code as it is.
QString RecordModeName(const QString &practiceMode);

inline const QString KStatusOpen = QStringLiteral("open");
inline const QString KStatusHandedIn = QStringLiteral("handed-in");
inline const QString KStatusAbandoned = QStringLiteral("abandoned");
// "未交卷", "已交卷", "已放弃"; an unknown status as it is.
QString RecordStatusName(const QString &status);

// A stored count or score that computations may use: a whole number, not
// negative. NULL, text and negative numbers of a damaged table are none.
std::optional<int> CountValue(const QVariant &value);

// The condition on a record r and one of its questions t that makes the
// question one "time asked": every question of a handed-in paper, only the
// answered ones of an abandoned paper (the rest were never seen).
QString CountedAskCondition();

// Runs a statement of the record units on the data module's connection with
// its values bound; throws EDatabaseError with the engine's text.
QSqlQuery RecordQuery(TConnection *connection, const QString &sql, const QVariantList &binds = {});
