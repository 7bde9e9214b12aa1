#pragma once

#include <functional>
#include <memory>

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// Reading Access (Jet 3 and Jet 4) files through mdbtools and writing their
// tables into a new SQLite bank. mdbtools' headers stay in the .cpp.

struct TMdbColumn
{
    QString Name;
    int JetType = 0; // the Jet column type code (1 yes/no … 16 numeric)
    QString SqlType; // declared type in SQLite, e.g. "INTEGER", "VARCHAR(50)"
};

struct TMdbTable
{
    QString Name;
    qint64 RowCount = 0; // as recorded in the table definition
    QList<TMdbColumn> Columns;
};

// Text and memo bytes as Jet stores them: Jet 4 keeps UCS-2, optionally
// compressed (FF FE, then one byte per character with 00 switching to two
// bytes per character and back); Jet 3 keeps the bytes of the file's code
// page. Bytes the code page cannot map become U+FFFD.
QString DecodeJetText(const QByteArray &bytes, bool jet4, int codePage);

// Jet dates count days from 1899-12-30; the fraction is the time of day,
// also for negative days (-1.25 is 1899-12-29 06:00). Rounded to the second.
QDateTime JetDateTime(double value);

// Currency is a 64-bit count of ten-thousandths: exact decimal text "-12.3400".
QString JetCurrencyText(qint64 tenThousandths);

// An open Access file. Throws EDatabaseError when it cannot be read.
class TMdbFile
{
public:
    explicit TMdbFile(const QString &fileName);
    ~TMdbFile();
    TMdbFile(const TMdbFile &) = delete;
    TMdbFile &operator=(const TMdbFile &) = delete;

    bool IsJet4() const;  // Jet 4 and later (UCS-2 text)
    int CodePage() const; // the code page of Jet 3 text
    // The user tables, in catalogue order.
    const QList<TMdbTable> &Tables() const;
    // Hands every row of the table to the callback, values in column order:
    // NULL as a null QVariant, integers as qlonglong, floats as double,
    // currency and decimals as exact text, dates as QDateTime, yes/no as
    // 0/1, text and memo as QString, binary and OLE as QByteArray.
    void ReadRows(const TMdbTable &table, const std::function<void(const QVariantList &)> &onRow) const;
    // Only which values are NULL, without reading the values (fast).
    void ReadNullFlags(const TMdbTable &table, const std::function<void(const QList<bool> &)> &onRow) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

struct TMdbImportReport
{
    QList<QPair<QString, qint64>> Tables; // table and rows written, in order
    QStringList Notes;                    // what was adjusted, one line each
};

using TMdbImportProgress = std::function<void(qint64 rowsDone, qint64 rowsTotal)>;

// Writes every user table of the Access file into a new SQLite file. Where
// the question-bank tables are found they take the bank schema's column
// definitions, keys and indexes (missing bank tables are added empty), so
// that the result opens as a bank; other columns keep their own types.
// NOT NULL is left off a bank column whose Access values hold NULLs, so
// that nothing is lost (the bank check reports them). Nothing may have the
// name of the SQLite file yet (see TNewFile); on failure nothing is left
// behind. Throws EDatabaseError.
TMdbImportReport ImportMdb(const QString &mdbFile, const QString &sqliteFile, const TMdbImportProgress &progress = {});

// The same into an SQLite file that exists and is empty; on failure its
// content is undefined and the caller removes it.
TMdbImportReport WriteMdbImport(const QString &mdbFile, const QString &sqliteFile,
                                const TMdbImportProgress &progress = {});
