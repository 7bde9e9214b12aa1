#include "UMdbImport.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include <glib.h>
#include <iconv.h>
#include <mdbtools.h>

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include "UBankFile.h"
#include "UDbError.h"
#include "UNewFile.h"

namespace {

// Row offsets on a data page carry flags in their top bits.
constexpr int KRowOffsetMask = 0x1FFF;

QString CodePageText(const QByteArray &bytes, int codePage)
{
    QByteArray name = "CP" + QByteArray::number(codePage > 0 ? codePage : 1252);
    iconv_t cd = iconv_open("UTF-16LE", name.constData());
    if (cd == reinterpret_cast<iconv_t>(-1))
        cd = iconv_open("UTF-16LE", "CP1252");
    QByteArray output(bytes.size() * 4 + 4, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char *out = output.data();
    size_t outLeft = size_t(output.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1))
            break;
        // A byte the code page does not map: mark it and go on with the rest.
        ++in;
        --inLeft;
        std::memcpy(out, "\xFD\xFF", 2);
        out += 2;
        outLeft -= 2;
    }
    iconv_close(cd);
    const qsizetype length = (output.size() - qsizetype(outLeft)) / 2;
    QString text(length, Qt::Uninitialized);
    std::memcpy(text.data(), output.constData(), size_t(length) * 2);
    return text;
}

QString Ucs2Text(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData());
    if (bytes.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        bool compressed = true;
        for (qsizetype i = 2; i < bytes.size();) {
            if (b[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                text += QChar(b[i]);
                ++i;
            } else if (i + 1 < bytes.size()) {
                text += QChar(char16_t(b[i] | b[i + 1] << 8));
                i += 2;
            } else {
                break;
            }
        }
        return text;
    }
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(b[i] | b[i + 1] << 8));
    return text;
}

qint64 LittleEndian(const unsigned char *p, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | p[i];
    const int unused = 64 - size * 8;
    return unused > 0 ? qint64(value << unused) >> unused : qint64(value);
}

// A single holds 0.15 as 0.150000006: keep the decimal it was typed as,
// the shortest text that reads back as the same single.
double SingleAsDouble(float value)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double shortest = value;
    std::from_chars(text, written.ptr, shortest);
    return shortest;
}

QString SqlTypeOf(const MdbColumn &column, bool jet4)
{
    switch (column.col_type) {
    case MDB_BOOL: return QStringLiteral("BOOLEAN");
    case MDB_BYTE: return QStringLiteral("TINYINT");
    case MDB_INT: return QStringLiteral("SMALLINT");
    case MDB_LONGINT: return QStringLiteral("INTEGER");
    case MDB_COMPLEX: return QStringLiteral("INTEGER");
    case MDB_MONEY: return QStringLiteral("DECIMAL(19,4)");
    case MDB_FLOAT: return QStringLiteral("REAL");
    case MDB_DOUBLE: return QStringLiteral("DOUBLE");
    case MDB_DATETIME: return QStringLiteral("DATETIME");
    case MDB_TEXT: return QStringLiteral("VARCHAR(%1)").arg(jet4 ? column.col_size / 2 : column.col_size);
    case MDB_MEMO: return QStringLiteral("TEXT");
    case MDB_REPID: return QStringLiteral("VARCHAR(38)");
    case MDB_NUMERIC: return QStringLiteral("DECIMAL(%1,%2)").arg(column.col_prec).arg(column.col_scale);
    default: return QStringLiteral("BLOB"); // binary, OLE and anything unknown: the bytes as stored
    }
}

QString QuoteName(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

QString DecodeJetText(const QByteArray &bytes, bool jet4, int codePage)
{
    return jet4 ? Ucs2Text(bytes) : CodePageText(bytes, codePage);
}

QDateTime JetDateTime(double value)
{
    const double days = std::trunc(value);
    qint64 seconds = std::llround(std::fabs(value - days) * 86400.0);
    QDate date = QDate(1899, 12, 30).addDays(qint64(days));
    if (seconds >= 86400) {
        date = date.addDays(1);
        seconds -= 86400;
    }
    return QDateTime(date, QTime(0, 0).addSecs(int(seconds)), Qt::UTC);
}

QString JetCurrencyText(qint64 tenThousandths)
{
    const bool negative = tenThousandths < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(tenThousandths) : quint64(tenThousandths);
    return (negative ? QStringLiteral("-") : QString()) + QString::number(magnitude / 10000) + QLatin1Char('.')
        + QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
}

namespace {

// The handle and the table definitions of mdbtools close on every path out,
// a throw included.
struct TMdbCloser
{
    void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};
struct TTableDefFreer
{
    void operator()(MdbTableDef *def) const { mdb_free_tabledef(def); }
};
using TTableDefPtr = std::unique_ptr<MdbTableDef, TTableDefFreer>;

} // namespace

struct TMdbFile::TImpl
{
    std::unique_ptr<MdbHandle, TMdbCloser> Mdb;
    QList<TMdbTable> Tables;

    bool Jet4() const { return Mdb->f->jet_version != MDB_VER_JET3; }

    TTableDefPtr OpenTable(const QString &name) const
    {
        QByteArray utf8 = name.toUtf8();
        TTableDefPtr def(mdb_read_table_by_name(Mdb.get(), utf8.data(), MDB_TABLE));
        if (!def || !mdb_read_columns(def.get()))
            throw EDatabaseError(QStringLiteral("cannot read the table %1").arg(name));
        return def;
    }

    // Walks the rows; the callback gets the fields of the current row,
    // indexed by column, with its values on the page buffer.
    void ForEachRow(const QString &name, const std::function<void(MdbTableDef *, const MdbField *)> &onRow) const
    {
        const TTableDefPtr def = OpenTable(name);
        std::vector<MdbField> cracked(MDB_MAX_COLS);
        std::vector<MdbField> fields(def->num_cols);
        mdb_rewind_table(def.get());
        while (mdb_fetch_row(def.get())) {
            int start = 0;
            size_t length = 0;
            if (mdb_find_row(Mdb.get(), int(def->cur_row) - 1, &start, &length) != 0)
                throw EDatabaseError(QStringLiteral("damaged row in table %1").arg(name));
            const int count = mdb_crack_row(def.get(), start & KRowOffsetMask, length, cracked.data());
            if (count < int(def->num_cols))
                throw EDatabaseError(QStringLiteral("damaged row in table %1").arg(name));
            for (int i = 0; i < count; ++i)
                if (cracked[size_t(i)].colnum >= 0 && cracked[size_t(i)].colnum < int(def->num_cols))
                    fields[size_t(cracked[size_t(i)].colnum)] = cracked[size_t(i)];
            onRow(def.get(), fields.data());
        }
    }

    // Memo and OLE values live in long-value pages; mdbtools reads the
    // chain into the column's bound buffer, so one is lent for the call.
    QByteArray LongValue(MdbColumn *column, const MdbField &field) const
    {
        if (field.siz < MDB_MEMO_OVERHEAD)
            return {};
        if ((mdb_get_int32(Mdb->pg_buf, field.start) & 0x3FFFFFFF) == 0)
            return QByteArray("");
        std::vector<char> bound(qMax<size_t>(Mdb->bind_size, MDB_BIND_SIZE) + MDB_PGSIZE);
        std::memcpy(bound.data(), Mdb->pg_buf + field.start, MDB_MEMO_OVERHEAD);
        column->bind_ptr = bound.data();
        column->cur_value_start = field.start;
        column->cur_value_len = field.siz;
        size_t size = 0;
        void *data = mdb_ole_read_full(Mdb.get(), column, &size);
        column->bind_ptr = nullptr;
        QByteArray bytes(static_cast<const char *>(data), qsizetype(size));
        free(data);
        if (bytes.isNull())
            bytes = QByteArray("");
        return bytes;
    }

    QVariant Value(MdbColumn *column, const MdbField &field) const
    {
        if (column->col_type == MDB_BOOL)
            return qlonglong(field.is_null ? 0 : 1); // yes/no lives in the null mask
        if (field.is_null)
            return QVariant();
        const unsigned char *p = Mdb->pg_buf + field.start;
        const auto fixed = [&](int size) { return field.siz >= size; };
        switch (column->col_type) {
        case MDB_BYTE: return fixed(1) ? QVariant(qlonglong(p[0])) : QVariant();
        case MDB_INT: return fixed(2) ? QVariant(qlonglong(LittleEndian(p, 2))) : QVariant();
        case MDB_LONGINT:
        case MDB_COMPLEX: return fixed(4) ? QVariant(qlonglong(LittleEndian(p, 4))) : QVariant();
        case MDB_MONEY: return fixed(8) ? QVariant(JetCurrencyText(LittleEndian(p, 8))) : QVariant();
        case MDB_FLOAT:
            return fixed(4) ? QVariant(SingleAsDouble(mdb_get_single(Mdb->pg_buf, field.start))) : QVariant();
        case MDB_DOUBLE: return fixed(8) ? QVariant(mdb_get_double(Mdb->pg_buf, field.start)) : QVariant();
        case MDB_DATETIME:
            return fixed(8) ? QVariant(JetDateTime(mdb_get_double(Mdb->pg_buf, field.start))) : QVariant();
        case MDB_TEXT:
            return DecodeJetText(QByteArray(reinterpret_cast<const char *>(p), field.siz), Jet4(), Mdb->f->code_page);
        case MDB_MEMO: return DecodeJetText(LongValue(column, field), Jet4(), Mdb->f->code_page);
        case MDB_OLE: return LongValue(column, field);
        case MDB_REPID: {
            char *text = mdb_uuid_to_string(Mdb->pg_buf, field.start);
            const QString value = QString::fromLatin1(text);
            g_free(text);
            return value;
        }
        case MDB_NUMERIC: {
            char *text = mdb_numeric_to_string(Mdb.get(), field.start, column->col_scale, column->col_prec);
            const QString value = QString::fromLatin1(text);
            g_free(text);
            return value;
        }
        default: return QByteArray(reinterpret_cast<const char *>(p), field.siz);
        }
    }
};

TMdbFile::TMdbFile(const QString &fileName)
    : FImpl(std::make_unique<TImpl>())
{
    if (!QFile::exists(fileName))
        throw EDatabaseError(QStringLiteral("%1 does not exist").arg(fileName));
    FImpl->Mdb.reset(mdb_open(QFile::encodeName(fileName).constData(), MDB_NOFLAGS));
    if (!FImpl->Mdb)
        throw EDatabaseError(QStringLiteral("%1 is not an Access (Jet) file").arg(fileName));
    if (!mdb_read_catalog(FImpl->Mdb.get(), MDB_TABLE))
        throw EDatabaseError(QStringLiteral("cannot read the table list of %1").arg(fileName));
    // Names first: looking a table up reads the catalogue anew.
    QStringList names;
    for (unsigned i = 0; i < FImpl->Mdb->num_catalog; ++i) {
        const auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(FImpl->Mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(const_cast<MdbCatalogEntry *>(entry)))
            names << QString::fromUtf8(entry->object_name);
    }
    for (const QString &name : std::as_const(names)) {
        const TTableDefPtr def = FImpl->OpenTable(name);
        TMdbTable table;
        table.Name = name;
        table.RowCount = def->num_rows;
        for (unsigned c = 0; c < def->num_cols; ++c) {
            const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(def->columns, c));
            table.Columns.append({QString::fromUtf8(column->name), column->col_type, SqlTypeOf(*column, IsJet4())});
        }
        FImpl->Tables.append(table);
    }
}

TMdbFile::~TMdbFile() = default;

bool TMdbFile::IsJet4() const
{
    return FImpl->Jet4();
}

int TMdbFile::CodePage() const
{
    return FImpl->Mdb->f->code_page;
}

const QList<TMdbTable> &TMdbFile::Tables() const
{
    return FImpl->Tables;
}

void TMdbFile::ReadRows(const TMdbTable &table, const std::function<void(const QVariantList &)> &onRow) const
{
    QVariantList values;
    FImpl->ForEachRow(table.Name, [&](MdbTableDef *def, const MdbField *fields) {
        values.clear();
        for (unsigned c = 0; c < def->num_cols; ++c)
            values.append(FImpl->Value(static_cast<MdbColumn *>(g_ptr_array_index(def->columns, c)), fields[c]));
        onRow(values);
    });
}

void TMdbFile::ReadNullFlags(const TMdbTable &table, const std::function<void(const QList<bool> &)> &onRow) const
{
    QList<bool> nulls;
    FImpl->ForEachRow(table.Name, [&](MdbTableDef *def, const MdbField *fields) {
        nulls.clear();
        for (unsigned c = 0; c < def->num_cols; ++c) {
            const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(def->columns, c));
            nulls.append(column->col_type != MDB_BOOL && fields[c].is_null);
        }
        onRow(nulls);
    });
}

namespace {

const QStringList KBankTables{
    QStringLiteral("T_KS_THEME"),        QStringLiteral("T_KS_CHAPTER"),
    QStringLiteral("T_KS_Model"),        QStringLiteral("T_KS_ThemeModelContent"),
    QStringLiteral("T_KS_ExamineTheme"), QStringLiteral("T_KS_ExamineTheme_TT"),
    QStringLiteral("T_KS_ThemeNote"),
};

// The bank schema's statements grouped by the table they belong to.
QHash<QString, QStringList> BankStatementsByTable()
{
    static const QRegularExpression target(QStringLiteral(R"(CREATE\s+(?:TABLE\s+(\w+)|INDEX\s+\w+\s+ON\s+(\w+)))"),
                                           QRegularExpression::CaseInsensitiveOption);
    QHash<QString, QStringList> statements;
    for (const QString &statement : BankSchemaStatements()) {
        const QRegularExpressionMatch match = target.match(statement);
        if (match.hasMatch())
            statements[(match.captured(1) + match.captured(2)).toUpper()] << statement;
    }
    return statements;
}

// Leaves NOT NULL off the definition lines of the bank columns that the
// Access table leaves NULL: those holding NULLs and those it lacks.
QString WithoutNotNull(const QString &createTable, const TMdbTable &table, const QSet<QString> &holdingNull,
                       QStringList &notes)
{
    static const QRegularExpression notNull(QStringLiteral(R"(\s+NOT\s+NULL)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QSet<QString> present;
    for (const TMdbColumn &column : table.Columns)
        present.insert(column.Name.toUpper());
    QStringList lines = createTable.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        const QString column = line.trimmed().section(QLatin1Char(' '), 0, 0);
        if (!line.contains(notNull))
            continue;
        if (!present.contains(column.toUpper()) && line.contains(QLatin1String("DEFAULT"), Qt::CaseInsensitive)) {
            notes << QStringLiteral("%1.%2 is not in the Access table: filled with its default").arg(table.Name, column);
        } else if (!present.contains(column.toUpper())) {
            line.replace(notNull, QString());
            notes << QStringLiteral("%1.%2 is not in the Access table: left NULL").arg(table.Name, column);
        } else if (holdingNull.contains(column.toUpper())) {
            line.replace(notNull, QString());
            notes << QStringLiteral("%1.%2 holds NULLs: kept, the column allows them").arg(table.Name, column);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QVariant SqlValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return value;
}

class TImporter
{
public:
    TImporter(const TMdbFile &mdb, QSqlDatabase &db, const TMdbImportProgress &progress)
        : FMdb(mdb),
          FDb(db),
          FProgress(progress)
    {
        for (const TMdbTable &table : FMdb.Tables())
            FRowsTotal += table.RowCount;
    }

    TMdbImportReport Run()
    {
        const QHash<QString, QStringList> bankStatements = BankStatementsByTable();
        bool isBank = false;
        for (const TMdbTable &table : FMdb.Tables())
            isBank = isBank || bankStatements.contains(table.Name.toUpper());
        if (isBank)
            CreateBankTables(bankStatements);
        for (const TMdbTable &table : FMdb.Tables())
            CopyTable(table, isBank && bankStatements.contains(table.Name.toUpper()));
        return FReport;
    }

private:
    const TMdbFile &FMdb;
    QSqlDatabase &FDb;
    const TMdbImportProgress &FProgress;
    TMdbImportReport FReport;
    qint64 FRowsTotal = 0;
    qint64 FRowsDone = 0;

    const TMdbTable *FindTable(const QString &name) const
    {
        for (const TMdbTable &table : FMdb.Tables())
            if (table.Name.compare(name, Qt::CaseInsensitive) == 0)
                return &table;
        return nullptr;
    }

    QSet<QString> ColumnsHoldingNull(const TMdbTable &table) const
    {
        QList<bool> anyNull(table.Columns.size(), false);
        FMdb.ReadNullFlags(table, [&](const QList<bool> &nulls) {
            for (qsizetype c = 0; c < nulls.size(); ++c)
                anyNull[c] = anyNull[c] || nulls[c];
        });
        QSet<QString> columns;
        for (qsizetype c = 0; c < anyNull.size(); ++c)
            if (anyNull[c])
                columns.insert(table.Columns[c].Name.toUpper());
        return columns;
    }

    void CreateBankTables(const QHash<QString, QStringList> &bankStatements)
    {
        for (const QString &name : KBankTables) {
            QStringList statements = bankStatements.value(name.toUpper());
            if (const TMdbTable *table = FindTable(name))
                statements[0] = WithoutNotNull(statements[0], *table, ColumnsHoldingNull(*table), FReport.Notes);
            else
                FReport.Notes << QStringLiteral("%1 is not in the Access file: added empty").arg(name);
            for (const QString &statement : std::as_const(statements))
                ExecBankSql(FDb, statement);
        }
    }

    QStringList ExistingColumns(const QString &table) const
    {
        QSqlQuery query(FDb);
        if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(QuoteName(table))))
            throw EDatabaseError(query.lastError().text());
        QStringList columns;
        while (query.next())
            columns << query.value(1).toString();
        return columns;
    }

    void CopyTable(const TMdbTable &table, bool bankTable)
    {
        QStringList definitions;
        for (const TMdbColumn &column : table.Columns)
            definitions << QuoteName(column.Name) + QLatin1Char(' ') + column.SqlType;
        if (!bankTable) {
            ExecBankSql(FDb,
                        QStringLiteral("CREATE TABLE %1 (%2)")
                            .arg(QuoteName(table.Name), definitions.join(QStringLiteral(", "))));
        } else {
            const QStringList existing = ExistingColumns(table.Name);
            for (qsizetype c = 0; c < table.Columns.size(); ++c) {
                if (existing.contains(table.Columns[c].Name, Qt::CaseInsensitive))
                    continue;
                ExecBankSql(FDb,
                            QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(QuoteName(table.Name), definitions[c]));
                FReport.Notes << QStringLiteral("%1.%2 is not a bank column: kept as %3")
                                     .arg(table.Name, table.Columns[c].Name, table.Columns[c].SqlType);
            }
        }
        QStringList names;
        for (const TMdbColumn &column : table.Columns)
            names << QuoteName(column.Name);
        QSqlQuery insert(FDb);
        if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(QuoteName(table.Name), names.join(QLatin1Char(',')),
                                     QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')))))
            throw EDatabaseError(insert.lastError().text());
        qint64 rows = 0;
        FMdb.ReadRows(table, [&](const QVariantList &values) {
            for (qsizetype c = 0; c < values.size(); ++c)
                insert.bindValue(int(c), SqlValue(values[c]));
            if (!insert.exec())
                throw EDatabaseError(
                    QStringLiteral("table %1, row %2: %3").arg(table.Name).arg(rows + 1).arg(insert.lastError().text()));
            ++rows;
            ++FRowsDone;
            if (FProgress)
                FProgress(FRowsDone, qMax(FRowsTotal, FRowsDone));
        });
        FReport.Tables.append({table.Name, rows});
    }
};

} // namespace

TMdbImportReport WriteMdbImport(const QString &mdbFile, const QString &sqliteFile, const TMdbImportProgress &progress)
{
    const TMdbFile mdb(mdbFile);
    const QString connection = QStringLiteral("mdb-import");
    TMdbImportReport report;
    try {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(sqliteFile);
            if (!db.open())
                throw EDatabaseError(db.lastError().text());
            // The file is thrown away on any failure: no journal needed.
            ExecBankSql(db, QStringLiteral("PRAGMA journal_mode=OFF"));
            ExecBankSql(db, QStringLiteral("PRAGMA synchronous=OFF"));
            ExecBankSql(db, QStringLiteral("BEGIN"));
            report = TImporter(mdb, db, progress).Run();
            ExecBankSql(db, QStringLiteral("COMMIT"));
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
    } catch (...) {
        QSqlDatabase::database(connection, false).close();
        QSqlDatabase::removeDatabase(connection);
        throw;
    }
    return report;
}

TMdbImportReport ImportMdb(const QString &mdbFile, const QString &sqliteFile, const TMdbImportProgress &progress)
{
    TNewFile target(sqliteFile);
    const TMdbImportReport report = WriteMdbImport(mdbFile, target.TemporaryName(), progress);
    target.Commit();
    return report;
}
