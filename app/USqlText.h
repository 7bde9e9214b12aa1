#pragma once

#include <optional>

#include <QString>

// Doubles every single quote so that a value embedded between quotes can
// never end the literal early. The surrounding quotes are the caller's.
QString QuoteSqlText(const QString &value);

// A name as a delimited identifier: reserved words and spaces are safe in
// any statement of ours.
QString QuotedIdentifier(const QString &name);

// Rewrites "Select top N ..." into "Select ... LIMIT N" for engines without
// TOP. Each TOP applies to the select it follows, so the LIMIT goes to the
// end of that select's own parenthesis level. Quoted text is left alone.
QString TranslateTopToLimit(const QString &sql);

// The first table named after FROM, as a statement may name it again, or
// empty when the statement selects from a derived table. Used to know where
// edits are written. A name in brackets or quotes comes back in quotes.
QString FirstFromTable(const QString &sql);

// A plain "select * from <table>" with at most a condition, an order or a
// limit, and no join, union or grouping: its rows are rows of the table.
// The text after the table name, or nothing for any other statement.
std::optional<QString> WholeTableSelectRest(const QString &sql);

// The column of a picture as a marker: NULL or 1, never the bytes.
QString BlobPresence(const QString &column);
