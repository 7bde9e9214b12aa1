#include "URecordReport.h"

#include <functional>
#include <map>

#include "UExamRules.h"
#include "URecordCsv.h"
#include "URecordRules.h"

namespace {

// A stored value as it is: NULL as an empty cell, text or a negative
// number of a damaged row unchanged.
QString CellText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

QString TimeText(const QString &stored)
{
    const QDateTime time = QDateTime::fromString(stored, Qt::ISODate);
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : stored;
}

QString VerdictText(const QVariant &passed)
{
    if (passed.isNull())
        return QString();
    const std::optional<int> value = CountValue(passed);
    if (value == 1)
        return QStringLiteral("合格");
    if (value == 0)
        return QStringLiteral("不合格");
    return passed.toString();
}

std::map<int, QString> ChapterNames(TConnection *connection)
{
    std::map<int, QString> names;
    QSqlQuery query = RecordQuery(connection, QStringLiteral("SELECT ThemeChapter, THEMENAME FROM T_KS_CHAPTER"));
    while (query.next())
        names[query.value(0).toInt()] = query.value(1).toString();
    return names;
}

QString ChapterName(const std::map<int, QString> &names, const QVariant &chapter)
{
    const std::optional<int> number = CountValue(chapter);
    if (!number)
        return CellText(chapter);
    const auto found = names.find(*number);
    return found != names.end() ? found->second : QStringLiteral("第%1章").arg(*number);
}

QString TypeName(const QVariant &type)
{
    const std::optional<int> number = CountValue(type);
    const QString name = number ? QuestionTypeName(*number) : QString();
    return name.isEmpty() ? CellText(type) : name;
}

// Counted answers and right ones per value of one question column.
std::vector<TAccuracy> AccuracyBy(TConnection *connection, const QString &driveTypeCode, const QString &column,
                                  const std::function<QString(const QVariant &)> &nameOf)
{
    QSqlQuery query = RecordQuery(
        connection,
        QStringLiteral("SELECT t.%1, COUNT(*), SUM(CASE WHEN t.IsRight=1 THEN 1 ELSE 0 END) FROM T_KS_ExamRecordTheme t "
                       "JOIN T_KS_ExamRecord r ON r.RecordID=t.RecordID WHERE r.DriveTypeCode=? AND %2 "
                       "GROUP BY t.%1 ORDER BY t.%1")
            .arg(column, CountedAskCondition()),
        {driveTypeCode});
    std::vector<TAccuracy> rows;
    while (query.next())
        rows.push_back({nameOf(query.value(0)), query.value(1).toInt(), query.value(2).toInt()});
    return rows;
}

} // namespace

std::vector<TPastPaper> ReadPastPapers(TConnection *connection, const QString &driveTypeCode)
{
    const std::map<int, QString> chapters = ChapterNames(connection);
    // Record numbers grow with every paper stored: the newest is the largest.
    QSqlQuery query = RecordQuery(connection,
                                  QStringLiteral(
                                      "SELECT RecordID, StartedAt, HandedInAt, PracticeMode, PracticeScope, Status, "
                                      "QuestionCount, RightCount, WrongCount, Score, Passed FROM T_KS_ExamRecord "
                                      "WHERE DriveTypeCode=? ORDER BY RecordID DESC"),
                                  {driveTypeCode});
    std::vector<TPastPaper> papers;
    while (query.next()) {
        TPastPaper paper{query.value(0).toLongLong(),
                         CellText(query.value(1)),
                         CellText(query.value(2)),
                         CellText(query.value(3)),
                         CellText(query.value(4)),
                         QString(),
                         CellText(query.value(5)),
                         query.value(6),
                         query.value(7),
                         query.value(8),
                         query.value(9),
                         query.value(10)};
        paper.ScopeName = RecordModeOf(paper.PracticeMode) == TRecordMode::ChapterPractice
            ? ChapterName(chapters, paper.PracticeScope)
            : paper.PracticeScope;
        papers.push_back(std::move(paper));
    }
    return papers;
}

QStringList PastPaperHeader()
{
    return {QStringLiteral("时间"), QStringLiteral("方式"), QStringLiteral("套题/章节"),
            QStringLiteral("题数"), QStringLiteral("答对"), QStringLiteral("答错"),
            QStringLiteral("得分"), QStringLiteral("结论"), QStringLiteral("状态")};
}

QStringList PastPaperCells(const TPastPaper &paper)
{
    return {TimeText(paper.StartedAt),     RecordModeName(paper.PracticeMode), paper.ScopeName,
            CellText(paper.QuestionCount), CellText(paper.RightCount),         CellText(paper.WrongCount),
            CellText(paper.Score),         VerdictText(paper.Passed),          RecordStatusName(paper.Status)};
}

QByteArray PastPapersCsv(const std::vector<TPastPaper> &papers)
{
    QList<QStringList> rows{PastPaperHeader()};
    for (const TPastPaper &paper : papers)
        rows << PastPaperCells(paper);
    return CsvDocument(rows);
}

std::vector<TScorePoint> MockExamScores(const std::vector<TPastPaper> &papers)
{
    std::vector<TScorePoint> points;
    for (auto paper = papers.rbegin(); paper != papers.rend(); ++paper) {
        const QDateTime at = QDateTime::fromString(paper->HandedInAt, Qt::ISODate);
        const std::optional<int> score = CountValue(paper->Score);
        if (RecordModeOf(paper->PracticeMode) == TRecordMode::MockExam && paper->Status == KStatusHandedIn
            && at.isValid() && score)
            points.push_back({at, *score});
    }
    return points;
}

QString TReadiness::Line() const
{
    if (Exams == 0)
        return QStringLiteral("还没有模拟考试记录");
    return QStringLiteral("最近 %1 次模拟考试平均 %2 分，合格 %3 次").arg(Exams).arg(Average).arg(Passes);
}

QString TReadiness::Verdict() const
{
    return Ready() ? QStringLiteral("最近 5 次模拟考试全部合格，可以参加正式考试了。") : QString();
}

TReadiness ReadinessOf(const std::vector<TScorePoint> &scoresOldestFirst)
{
    TReadiness readiness;
    const std::size_t first = scoresOldestFirst.size() > 5 ? scoresOldestFirst.size() - 5 : 0;
    int sum = 0;
    for (std::size_t i = first; i < scoresOldestFirst.size(); ++i) {
        sum += scoresOldestFirst[i].Score;
        readiness.Passes += scoresOldestFirst[i].Score >= KPassScore ? 1 : 0;
        ++readiness.Exams;
    }
    if (readiness.Exams > 0)
        readiness.Average = qRound(double(sum) / readiness.Exams);
    return readiness;
}

QString TAccuracy::PercentText() const
{
    return Asked > 0 ? QStringLiteral("%1%").arg(qRound(100.0 * Right / Asked)) : QStringLiteral("—");
}

std::vector<TAccuracy> ChapterAccuracy(TConnection *connection, const QString &driveTypeCode)
{
    const std::map<int, QString> chapters = ChapterNames(connection);
    return AccuracyBy(connection, driveTypeCode, QStringLiteral("ThemeChapter"),
                      [&chapters](const QVariant &chapter) { return ChapterName(chapters, chapter); });
}

std::vector<TAccuracy> TypeAccuracy(TConnection *connection, const QString &driveTypeCode)
{
    return AccuracyBy(connection, driveTypeCode, QStringLiteral("ThemeType"), TypeName);
}
