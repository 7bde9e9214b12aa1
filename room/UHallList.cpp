#include "UHallList.h"

#include <QSqlQuery>

#include "UExamRules.h"
#include "URecordCsv.h"
#include "URecordRules.h"

namespace {

const QString KColumns = QStringLiteral(
    "RecordID, Seat, CandidateName, CandidateIdNumber, DriveTypeCaption, Status, "
    "AnsweredCount, QuestionCount, SecondsLeft, Score, Passed, StartedAt, HandedInAt");

// Times are kept as ISO local text, which sorts and compares as text on
// every engine: the bounds are bound as text too.
QString StoredTime(const QDateTime &time)
{
    return time.toString(Qt::ISODate);
}

THallPaper PaperOf(const QSqlQuery &query)
{
    THallPaper paper;
    paper.RecordID = query.value(0).toLongLong();
    paper.Seat = query.value(1).toString();
    paper.CandidateName = query.value(2).toString();
    paper.CandidateIdNumber = query.value(3).toString();
    paper.DriveTypeCaption = query.value(4).toString();
    paper.Status = query.value(5).toString();
    paper.AnsweredCount = CountValue(query.value(6));
    paper.QuestionCount = CountValue(query.value(7));
    paper.SecondsLeft = CountValue(query.value(8));
    paper.Score = CountValue(query.value(9));
    if (const std::optional<int> passed = CountValue(query.value(10)); passed == 0 || passed == 1)
        paper.Passed = passed == 1;
    paper.StartedAt = QDateTime::fromString(query.value(11).toString(), Qt::ISODate);
    paper.HandedInAt = QDateTime::fromString(query.value(12).toString(), Qt::ISODate);
    return paper;
}

std::vector<THallPaper> ReadPapers(TConnection *connection, const QString &condition, const QString &order,
                                   const QString &roomName, const QDateTime &since)
{
    QString sql = QStringLiteral("SELECT %1 FROM T_KS_ExamRecord WHERE %2").arg(KColumns, condition);
    QVariantList binds{StoredTime(since)};
    if (!roomName.isEmpty()) {
        sql += QStringLiteral(" AND RoomName=?");
        binds << roomName;
    }
    QSqlQuery query = RecordQuery(connection, sql + QStringLiteral(" ORDER BY ") + order, binds);
    std::vector<THallPaper> papers;
    while (query.next())
        papers.push_back(PaperOf(query));
    return papers;
}

QString CountText(const std::optional<int> &value)
{
    return value ? QString::number(*value) : QString();
}

QString ProgressText(const THallPaper &paper)
{
    return QStringLiteral("%1 / %2").arg(CountText(paper.AnsweredCount), CountText(paper.QuestionCount));
}

QString ClockCell(const QDateTime &time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QString HtmlTable(const QStringList &header, const std::vector<THallPaper> &papers,
                  QStringList (*cellsOf)(const THallPaper &))
{
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>");
    for (const QString &title : header)
        html += QStringLiteral("<th>%1</th>").arg(title.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const THallPaper &paper : papers) {
        html += QStringLiteral("<tr>");
        for (const QString &cell : cellsOf(paper))
            html += QStringLiteral("<td>%1</td>").arg(cell.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace

THallList ReadHallList(TConnection *connection, const QString &roomName, const QDateTime &since)
{
    THallList list;
    list.Open = ReadPapers(connection, QStringLiteral("Status='open' AND StartedAt>=?"),
                           QStringLiteral("Seat, RecordID"), roomName, since);
    list.Finished = ReadPapers(connection, QStringLiteral("Status IN ('handed-in','abandoned') AND HandedInAt>=?"),
                               QStringLiteral("HandedInAt DESC, RecordID DESC"), roomName, since);
    return list;
}

QStringList OpenPaperHeader()
{
    return {QStringLiteral("座位"),     QStringLiteral("姓名"),      QStringLiteral("身份证明号码"),
            QStringLiteral("驾驶类型"), QStringLiteral("已答/总题"), QStringLiteral("剩余时间"),
            QStringLiteral("开始时间")};
}

QStringList OpenPaperCells(const THallPaper &paper)
{
    return {paper.Seat,
            paper.CandidateName,
            paper.CandidateIdNumber,
            paper.DriveTypeCaption,
            ProgressText(paper),
            paper.SecondsLeft ? ClockText(*paper.SecondsLeft) : QString(),
            ClockCell(paper.StartedAt)};
}

QStringList FinishedPaperHeader()
{
    return {QStringLiteral("座位"),     QStringLiteral("姓名"),     QStringLiteral("身份证明号码"),
            QStringLiteral("驾驶类型"), QStringLiteral("交卷时间"), QStringLiteral("得分"),
            QStringLiteral("结果")};
}

QStringList FinishedPaperCells(const THallPaper &paper)
{
    return {paper.Seat,
            paper.CandidateName,
            paper.CandidateIdNumber,
            paper.DriveTypeCaption,
            ClockCell(paper.HandedInAt),
            CountText(paper.Score),
            HallVerdict(paper)};
}

QString HallVerdict(const THallPaper &paper)
{
    if (paper.Status == KStatusAbandoned)
        return RecordStatusName(paper.Status);
    if (!paper.Passed)
        return QString();
    return *paper.Passed ? QStringLiteral("合格") : QStringLiteral("不合格");
}

QByteArray HallCsv(const THallList &list)
{
    QList<QStringList> rows{{QStringLiteral("座位"), QStringLiteral("姓名"), QStringLiteral("身份证明号码"),
                             QStringLiteral("驾驶类型"), QStringLiteral("状态"), QStringLiteral("已答/总题"),
                             QStringLiteral("剩余时间"), QStringLiteral("开始时间"), QStringLiteral("交卷时间"),
                             QStringLiteral("得分"), QStringLiteral("结果")}};
    const auto timeText = [](const QDateTime &time) {
        return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
    };
    for (const std::vector<THallPaper> *papers : {&list.Open, &list.Finished}) {
        for (const THallPaper &paper : *papers) {
            rows << QStringList{paper.Seat,
                                paper.CandidateName,
                                paper.CandidateIdNumber,
                                paper.DriveTypeCaption,
                                paper.Status == KStatusOpen ? QStringLiteral("考试中") : RecordStatusName(paper.Status),
                                ProgressText(paper),
                                paper.Status == KStatusOpen && paper.SecondsLeft ? ClockText(*paper.SecondsLeft)
                                                                                 : QString(),
                                timeText(paper.StartedAt),
                                timeText(paper.HandedInAt),
                                CountText(paper.Score),
                                HallVerdict(paper)};
        }
    }
    return CsvDocument(rows);
}

QString HallPrintHtml(const THallList &list, const QString &roomName, const QDateTime &at)
{
    const QString title = roomName.isEmpty() ? QStringLiteral("考场监控") : QStringLiteral("考场监控：") + roomName;
    QString html = QStringLiteral("<html><body><h2>%1</h2><p>%2</p>")
                       .arg(title.toHtmlEscaped(), at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    html += QStringLiteral("<h3>正在考试（%1）</h3>").arg(list.Open.size());
    html += HtmlTable(OpenPaperHeader(), list.Open, &OpenPaperCells);
    html += QStringLiteral("<h3>今日已交卷（%1）</h3>").arg(list.Finished.size());
    html += HtmlTable(FinishedPaperHeader(), list.Finished, &FinishedPaperCells);
    return html + QStringLiteral("</body></html>");
}
