#pragma once

#include <QString>

// Doubles every single quote so that a value embedded between quotes can
// never end the literal early. The surrounding quotes are the caller's.
QString QuoteSqlText(const QString &value);

// Rewrites "Select top N ..." into "Select ... LIMIT N" for engines without
// TOP. Each TOP applies to the select it follows, so the LIMIT goes to the
// end of that select's own parenthesis level. Quoted text is left alone.
QString TranslateTopToLimit(const QString &sql);

// The first table named after FROM, or empty when the statement selects
// from a derived table. Used to know where edits are written.
QString FirstFromTable(const QString &sql);
