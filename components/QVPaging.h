#pragma once

#include <QString>

// The statements of the paging bar. Pages are cut by the numeric column Xh
// of the base statement: rows are ordered by Xh, and a page is found by
// comparing Xh with the first or last Xh of the page on show, so the
// database never skips rows.
namespace QVPageSql {
QString Count(const QString &baseSql);
// The rows up to and including Xh: where the row numbered xh stands.
QString CountUpTo(const QString &baseSql, int xh);
QString FirstPage(int pageRecordCount, const QString &baseSql);
QString NextPage(int pageRecordCount, const QString &baseSql, int lastXh);
QString PriorPage(int pageRecordCount, const QString &baseSql, int firstXh);
QString LastPage(int recordCount, int pageRecordCount, const QString &baseSql);
// The largest Xh among the rows of the pages before page k (k > 1).
QString PageBoundary(int page, int pageRecordCount, const QString &baseSql);
// The rows of a page whose boundary (the text of PageBoundary's value) is known.
QString PageRows(int pageRecordCount, const QString &baseSql, const QString &boundary);
} // namespace QVPageSql

// Pages for a record count, the last one possibly short.
int PageCountOf(int recordCount, int pageRecordCount);
// The two-line page information; every number padded to 7 characters.
QString PageInfoText(int recordCount, int pageRecordCount, int pageCount, int currentPage);
// The page information of a bar that has not captured a query yet.
QString EmptyPageInfoText();
