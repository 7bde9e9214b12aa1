#include "UThemeRules.h"

#include <algorithm>

#include <QSqlError>
#include <QSqlQuery>

#include "UConnection.h"
#include "UDbError.h"
#include "UQuery.h"

namespace {

const QStringList KOptionColumns{QStringLiteral("ThemeSpareA"), QStringLiteral("ThemeSpareB"),
                                 QStringLiteral("ThemeSpareC"), QStringLiteral("ThemeSpareD"),
                                 QStringLiteral("ThemeSpareE")};

// A temporary table lives as long as the connection and is seen by no other.
const QString KSearchTable = QStringLiteral("T_EditorSearch");

// The search text as a LIKE pattern that finds it anywhere in a text, its
// own %, _ and ! escaped with !.
QString ContainsPattern(const QString &searchText)
{
    QString pattern;
    for (const QChar c : searchText) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!'))
            pattern += QLatin1Char('!');
        pattern += c;
    }
    return QLatin1Char('%') + pattern + QLatin1Char('%');
}

} // namespace

QString ThemeListSql(const QString &searchText)
{
    if (searchText.trimmed().isEmpty())
        return KThemePageSql;
    return KThemePageSql
        + QStringLiteral(" where ThemeID in (select ThemeID from %1)"
                         " or ThemeContent like (select Pattern from %1) escape '!'")
              .arg(KSearchTable);
}

void StoreThemeSearch(TConnection *connection, const QString &searchText)
{
    const QString text = searchText.trimmed();
    bool isNumber = false;
    const int themeId = text.toInt(&isNumber);
    const QString create = QStringLiteral("create temp table if not exists %1 (Pattern text, ThemeID integer)");
    QSqlQuery statement(connection->Database());
    if (statement.exec(create.arg(KSearchTable)) && statement.exec(QStringLiteral("delete from %1").arg(KSearchTable))
        && statement.prepare(QStringLiteral("insert into %1 (Pattern, ThemeID) values (?, ?)").arg(KSearchTable))) {
        statement.addBindValue(ContainsPattern(text));
        statement.addBindValue(isNumber ? QVariant(themeId) : QVariant());
        if (statement.exec())
            return;
    }
    throw EDatabaseError(statement.lastError().text());
}

QString NormaliseResult(const QString &result)
{
    QString digits;
    for (const QChar c : result) {
        if (!c.isSpace() && c != QLatin1Char(',') && c != QLatin1Char('|') && !digits.contains(c))
            digits += c;
    }
    std::sort(digits.begin(), digits.end());
    return digits;
}

QString CheckThemeDraft(const TThemeDraft &draft)
{
    int offered = 0;
    for (const QString &option : draft.Options) {
        if (!option.trimmed().isEmpty())
            ++offered;
    }
    if (offered < 2)
        return QStringLiteral("至少要有两个选项！");
    const QString result = NormaliseResult(draft.Result);
    if (result.isEmpty())
        return QStringLiteral("请输入答案！");
    for (const QChar c : result) {
        const int number = c.digitValue();
        if (number < 1 || number > 5)
            return QStringLiteral("答案只能由选项号 1～5 组成！");
        if (draft.Options.value(number - 1).trimmed().isEmpty())
            return QStringLiteral("答案 %1 对应的选项没有内容！").arg(number);
    }
    if ((draft.Type == 1 || draft.Type == 2) && result.size() != 1)
        return QStringLiteral("判断题和单选题只能有一个答案！");
    if (draft.Type == 3 && result.size() < 2)
        return QStringLiteral("多选题至少要有两个答案！");
    return QString();
}

int NextThemeId(TConnection *connection)
{
    TQuery query;
    query.SetConnection(connection);
    query.SetSQL(QStringLiteral("Select Max(ThemeID) From T_KS_THEME"));
    query.Open();
    return query.Fields(0)->AsInteger() + 1;
}

TChapterList ReadChapters(TConnection *connection)
{
    TQuery query;
    query.SetConnection(connection);
    query.SetSQL(QStringLiteral("select ThemeChapter,THEMENAME from T_KS_CHAPTER order by ThemeChapter"));
    query.Open();
    TChapterList chapters;
    for (; !query.Eof(); query.Next()) {
        chapters.Codes << query.Fields(0)->AsString();
        chapters.Names << query.Fields(1)->AsString();
    }
    return chapters;
}

void EmptyTextForBlankOptions(TQuery &query)
{
    for (const QString &column : KOptionColumns) {
        TField *field = query.FindField(column);
        // A null QString would be bound as NULL: the literal is empty, not null.
        if (field && field->IsNull())
            field->SetValue(QStringLiteral(""));
    }
}

int RecountTemplateRows(TConnection *connection)
{
    TQuery update;
    update.SetConnection(connection);
    update.SetSQL(QStringLiteral(
        "Update T_KS_ThemeModelContent Set ThemeCount=(Select Count(*) From T_KS_THEME t Where t.ZT=1 "
        "And t.ThemePart=T_KS_ThemeModelContent.ThemePart And t.ThemeChapter=T_KS_ThemeModelContent.ThemeChapter "
        "And t.ThemeType=T_KS_ThemeModelContent.ThemeType)"));
    update.ExecSQL();
    TQuery shortRows;
    shortRows.SetConnection(connection);
    shortRows.SetSQL(QStringLiteral("Select Count(*) From T_KS_ThemeModelContent Where ThemeCount<SelectCount"));
    shortRows.Open();
    return shortRows.Fields(0)->AsInteger();
}
