#pragma once

#include <QString>
#include <QStringList>

// Connection strings of the "name=value;name=value" kind. A value that holds
// ";" or a quote, or begins or ends with a blank, is written in double quotes
// with inner quotes doubled, as OLE DB reads it, so that it reaches the
// driver whole; every other value is written as it is.
QString QuoteConnectionValue(const QString &value);

// The entries of a connection string: cut at each ";" outside double quotes.
QStringList SplitConnectionEntries(const QString &connectionString);

// The value of one entry's right-hand side: a quoted value loses its quotes
// and its doubled inner quotes become one; any other value is unchanged.
QString UnquoteConnectionValue(const QString &value);
