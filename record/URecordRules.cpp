#include "URecordRules.h"

#include <QSqlError>

#include "UConnection.h"
#include "UDbError.h"
#include "UEngineErrorText.h"

TRecordMode RecordModeOf(const QString &practiceMode)
{
    if (practiceMode.isEmpty() || practiceMode == QLatin1String("0") || practiceMode == QLatin1String("3"))
        return TRecordMode::MockExam;
    if (practiceMode == QLatin1String("1"))
        return TRecordMode::SetPractice;
    if (practiceMode == QLatin1String("2"))
        return TRecordMode::ChapterPractice;
    if (practiceMode == QLatin1String("4"))
        return TRecordMode::WrongPractice;
    return TRecordMode::Unknown;
}

QString RecordModeName(const QString &practiceMode)
{
    switch (RecordModeOf(practiceMode)) {
    case TRecordMode::MockExam: return QStringLiteral("模拟考试");
    case TRecordMode::SetPractice: return QStringLiteral("套题练习");
    case TRecordMode::ChapterPractice: return QStringLiteral("章节练习");
    case TRecordMode::WrongPractice: return QStringLiteral("错题练习");
    case TRecordMode::Unknown: break;
    }
    return practiceMode;
}

QString RecordStatusName(const QString &status)
{
    if (status == KStatusOpen)
        return QStringLiteral("未交卷");
    if (status == KStatusHandedIn)
        return QStringLiteral("已交卷");
    if (status == KStatusAbandoned)
        return QStringLiteral("已放弃");
    return status;
}

std::optional<int> CountValue(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const int number = value.toString().toInt(&ok);
    if (!ok || number < 0)
        return std::nullopt;
    return number;
}

QString CountedAskCondition()
{
    return QStringLiteral("(r.Status='handed-in' OR (r.Status='abandoned' AND t.AnswerResult IS NOT NULL "
                          "AND t.AnswerResult<>''))");
}

QSqlQuery RecordQuery(TConnection *connection, const QString &sql, const QVariantList &binds)
{
    if (!connection || !connection->Connected())
        throw EDatabaseError(QStringLiteral("没有打开的题库。"));
    QSqlQuery query(connection->Database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw EngineError(query.lastError(), query.driver());
    for (const QVariant &value : binds)
        query.addBindValue(value);
    if (!query.exec())
        throw EngineError(query.lastError(), query.driver());
    return query;
}
