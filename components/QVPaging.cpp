#include "QVPaging.h"

namespace {

constexpr int NumberWidth = 7;

QString Padded(int number)
{
    return QString::number(number).rightJustified(NumberWidth, QLatin1Char(' '));
}

QString Top(int count)
{
    return QStringLiteral("Select top ") + QString::number(count);
}

QString Derived(const QString &baseSql)
{
    return QStringLiteral(" * From (") + baseSql + QStringLiteral(") a");
}

} // namespace

QString QVPageSql::Count(const QString &baseSql)
{
    return QStringLiteral("Select Count(*) From (") + baseSql + QStringLiteral(") a");
}

QString QVPageSql::CountUpTo(const QString &baseSql, int xh)
{
    return Count(baseSql) + QStringLiteral(" Where Xh<=") + QString::number(xh);
}

QString QVPageSql::FirstPage(int pageRecordCount, const QString &baseSql)
{
    return Top(pageRecordCount) + Derived(baseSql) + QStringLiteral(" Order By Xh");
}

QString QVPageSql::NextPage(int pageRecordCount, const QString &baseSql, int lastXh)
{
    return Top(pageRecordCount) + Derived(baseSql) + QStringLiteral(" Where Xh>") + QString::number(lastXh)
        + QStringLiteral(" Order By Xh");
}

QString QVPageSql::PriorPage(int pageRecordCount, const QString &baseSql, int firstXh)
{
    return Top(pageRecordCount) + Derived(baseSql) + QStringLiteral(" Where Xh<") + QString::number(firstXh)
        + QStringLiteral(" Order By Xh Desc");
}

QString QVPageSql::LastPage(int recordCount, int pageRecordCount, const QString &baseSql)
{
    const int rest = recordCount % pageRecordCount;
    return Top(rest == 0 ? pageRecordCount : rest) + Derived(baseSql) + QStringLiteral(" Order By Xh Desc");
}

QString QVPageSql::PageBoundary(int page, int pageRecordCount, const QString &baseSql)
{
    return QStringLiteral("Select Max(Xh) From (") + Top(pageRecordCount * (page - 1)) + QStringLiteral(" Xh From (")
        + baseSql + QStringLiteral(") a Order By Xh) a");
}

QString QVPageSql::PageRows(int pageRecordCount, const QString &baseSql, const QString &boundary)
{
    return Top(pageRecordCount) + Derived(baseSql) + QStringLiteral(" Where Xh>") + boundary
        + QStringLiteral(" Order By Xh");
}

int PageCountOf(int recordCount, int pageRecordCount)
{
    return recordCount / pageRecordCount + (recordCount % pageRecordCount != 0 ? 1 : 0);
}

namespace {

QString InfoText(const QString &records, const QString &perPage, const QString &pages, const QString &current)
{
    return QStringLiteral("共有") + records + QStringLiteral(" 条记录，每页") + perPage + QStringLiteral(" 条，")
        + QLatin1Char('\n') + QStringLiteral("共分") + pages + QStringLiteral(" 页，当前为第") + current
        + QStringLiteral(" 页。");
}

} // namespace

QString PageInfoText(int recordCount, int pageRecordCount, int pageCount, int currentPage)
{
    return InfoText(Padded(recordCount), Padded(pageRecordCount), Padded(pageCount), Padded(currentPage));
}

QString EmptyPageInfoText()
{
    const QString blank(NumberWidth, QLatin1Char(' '));
    return InfoText(blank, blank, blank, blank);
}
