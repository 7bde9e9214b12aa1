#include "URecordBook.h"

#include <algorithm>

#include "URecordRules.h"

namespace {

struct TAsk
{
    int ThemeID;
    bool Right;
    qint64 RecordID;
    QString HandedInAt;
};

// Every counted answer of the class, each question's newest first. Rows of
// a damaged table without a question number or a clear verdict are left out.
std::vector<TAsk> ReadAsks(TConnection *connection, const QString &driveTypeCode, const QString &chapterFilter)
{
    QString sql = QStringLiteral("SELECT t.ThemeID, t.IsRight, r.RecordID, r.HandedInAt FROM T_KS_ExamRecordTheme t "
                                 "JOIN T_KS_ExamRecord r ON r.RecordID=t.RecordID WHERE r.DriveTypeCode=? AND ")
        + CountedAskCondition();
    if (!chapterFilter.trimmed().isEmpty())
        sql += QStringLiteral(" AND t.ThemeID IN (SELECT ThemeID FROM T_KS_THEME WHERE %1)").arg(chapterFilter);
    sql += QStringLiteral(" ORDER BY r.RecordID DESC, t.ID DESC");
    QSqlQuery query = RecordQuery(connection, sql, {driveTypeCode});
    std::vector<TAsk> asks;
    while (query.next()) {
        const std::optional<int> themeId = CountValue(query.value(0));
        const std::optional<int> right = CountValue(query.value(1));
        if (!themeId || !right || *right > 1)
            continue;
        asks.push_back({*themeId, *right == 1, query.value(2).toLongLong(), query.value(3).toString()});
    }
    // Stable: each question's answers stay newest first.
    std::stable_sort(asks.begin(), asks.end(), [](const TAsk &a, const TAsk &b) { return a.ThemeID < b.ThemeID; });
    return asks;
}

} // namespace

bool StaysInBook(const std::vector<bool> &rightNewestFirst)
{
    const bool everWrong = std::find(rightNewestFirst.begin(), rightNewestFirst.end(), false) != rightNewestFirst.end();
    const bool lastTwoRight = rightNewestFirst.size() >= 2 && rightNewestFirst[0] && rightNewestFirst[1];
    return everWrong && !lastTwoRight;
}

std::vector<TBookEntry> ReadWrongBook(TConnection *connection, const QString &driveTypeCode, const QString &chapterFilter)
{
    const std::vector<TAsk> asks = ReadAsks(connection, driveTypeCode, chapterFilter);
    struct TRanked
    {
        TBookEntry Entry;
        qint64 LastWrongRecord;
    };
    std::vector<TRanked> book;
    for (auto first = asks.begin(); first != asks.end();) {
        const auto last = std::find_if(first, asks.end(), [&](const TAsk &ask) { return ask.ThemeID != first->ThemeID; });
        std::vector<bool> answers;
        TRanked ranked{{first->ThemeID, 0, QString()}, 0};
        for (auto ask = first; ask != last; ++ask) {
            answers.push_back(ask->Right);
            if (!ask->Right && ranked.Entry.WrongTimes++ == 0) {
                ranked.Entry.LastWrongAt = ask->HandedInAt;
                ranked.LastWrongRecord = ask->RecordID;
            }
        }
        if (StaysInBook(answers))
            book.push_back(std::move(ranked));
        first = last;
    }
    std::stable_sort(book.begin(), book.end(),
                     [](const TRanked &a, const TRanked &b) { return a.LastWrongRecord > b.LastWrongRecord; });
    std::vector<TBookEntry> entries;
    for (TRanked &ranked : book)
        entries.push_back(std::move(ranked.Entry));
    return entries;
}
