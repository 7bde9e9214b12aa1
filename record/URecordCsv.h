#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated text as spreadsheet programs read it.

// One cell: quoted when it holds a comma, quote, or line break (quotes
// doubled); a cell that a spreadsheet would take for a formula (= + - @,
// also a leading tab or carriage return) is kept as text behind a quote.
QString CsvField(const QString &value);

// The rows as a file's bytes: UTF-8 with a BOM, so that a spreadsheet on
// Windows reads the Chinese, and CRLF line ends.
QByteArray CsvDocument(const QList<QStringList> &rows);

// Writes the bytes in one go (a half-written file never replaces an old
// one); false with the reason on failure.
bool WriteCsvFile(const QString &fileName, const QByteArray &bytes, QString *error);
