#include "UBankCheck.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include "UBankBalance.h"
#include "UBankFile.h"
#include "UDbError.h"
#include "UJpeg.h"

namespace {

// Tables of later banks that older ones lack without harm.
const QStringList KOptionalTables{QStringLiteral("T_KS_ThemeNote"), QStringLiteral("T_KS_ThemePart")};

// The draw appends part, chapter and type unquoted to its statement.
const QStringList KDrawColumns{QStringLiteral("ThemePart"), QStringLiteral("ThemeChapter"), QStringLiteral("ThemeType")};

const QStringList KContentColumns{
    QStringLiteral("ThemePart"),  QStringLiteral("ThemeChapter"), QStringLiteral("ThemeType"),
    QStringLiteral("ThemeCount"), QStringLiteral("SelectCount"),  QStringLiteral("ThemeBit"),
    QStringLiteral("BitCount"),
};

QString Quoted(const QString &text)
{
    return QStringLiteral("“") + text + QStringLiteral("”");
}

class TBankChecker
{
public:
    explicit TBankChecker(const QSqlDatabase &db)
        : FDb(db)
    {
    }

    TBankReport Run()
    {
        // Without the tables and columns the program reads, the other
        // checks would only repeat the same failure.
        if (!CheckStructure())
            return {FFindings, {}};
        CheckTemplates();
        CheckThemeIds();
        CheckQuestions();
        CheckSetNumbers();
        if (FPresent.contains(QStringLiteral("T_KS_ThemeNote")))
            CheckNotes();
        return {FFindings, MeasureBalance(FDb)};
    }

private:
    QSqlDatabase FDb;
    QList<TBankFinding> FFindings;
    QStringList FPresent; // schema tables the bank has

    void Add(TBankProblem problem, const QString &text) { FFindings.append({problem, text}); }

    QSqlQuery Open(const QString &sql) const { return OpenBankQuery(FDb, sql); }

    // The tables and columns of the bank schema, as a fresh bank has them.
    static QHash<QString, QStringList> SchemaColumns()
    {
        const QString connection = QStringLiteral("bank-check-schema");
        QHash<QString, QStringList> columns;
        {
            QSqlDatabase schema = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            schema.setDatabaseName(QStringLiteral(":memory:"));
            if (!schema.open())
                throw EDatabaseError(schema.lastError().text());
            for (const QString &statement : BankSchemaStatements())
                ExecBankSql(schema, statement);
            for (const QString &table : schema.tables())
                for (int i = 0; i < schema.record(table).count(); ++i)
                    columns[table] << schema.record(table).fieldName(i);
            schema.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return columns;
    }

    bool CheckStructure()
    {
        const QHash<QString, QStringList> schema = SchemaColumns();
        QStringList present = FDb.tables();
        bool sound = true;
        // In name order: the same bank always gives the same report.
        QStringList tables = schema.keys();
        tables.sort();
        for (const QString &table : std::as_const(tables)) {
            const auto found = std::find_if(present.cbegin(), present.cend(), [&](const QString &name) {
                return name.compare(table, Qt::CaseInsensitive) == 0;
            });
            if (found == present.cend()) {
                if (!KOptionalTables.contains(table)) {
                    Add(TBankProblem::MissingTable, QStringLiteral("缺少表 %1").arg(table));
                    sound = false;
                }
                continue;
            }
            FPresent << table;
            const QSqlRecord record = FDb.record(*found);
            for (const QString &column : schema.value(table)) {
                bool has = false;
                for (int i = 0; i < record.count() && !has; ++i)
                    has = record.fieldName(i).compare(column, Qt::CaseInsensitive) == 0;
                if (!has) {
                    Add(TBankProblem::MissingColumn, QStringLiteral("表 %1 缺少列 %2").arg(table, column));
                    sound = false;
                }
            }
        }
        return sound;
    }

    void CheckTemplates()
    {
        for (const QString &code : LicenceClassCodes()) {
            QSqlQuery models = Open(QStringLiteral("SELECT ModelID, RandomTheme, KSSJ FROM T_KS_Model "
                                                   "WHERE IsUser=1 AND DirvesType='%1' ORDER BY ModelID")
                                        .arg(code));
            QStringList ids;
            while (models.next()) {
                const QString id = models.value(0).toString();
                ids << id;
                const QString name = QStringLiteral("模板 %1（准驾车型 %2）").arg(id, code);
                if (models.value(1).isNull())
                    Add(TBankProblem::RandomThemeNull, name + QStringLiteral("的 RandomTheme 为空，模拟考试抽题会失败"));
                if (models.value(2).isNull() || models.value(2).toLongLong() <= 0)
                    Add(TBankProblem::ExamTimeMissing, name + QStringLiteral("的考试时间 KSSJ 为空或不大于 0"));
                CheckContentRows(id, name);
            }
            if (ids.isEmpty())
                Add(TBankProblem::TemplateCount, QStringLiteral("准驾车型 %1 没有启用的考试模板（IsUser=1）").arg(code));
            else if (ids.size() > 1)
                Add(TBankProblem::TemplateCount,
                    QStringLiteral("准驾车型 %1 有 %2 个启用的考试模板（编号 %3），应只有一个")
                        .arg(code)
                        .arg(ids.size())
                        .arg(ids.join(QStringLiteral("、"))));
        }
    }

    qlonglong Candidates(const QSqlQuery &row) const
    {
        QSqlQuery count = Open(QStringLiteral("SELECT COUNT(*) FROM T_KS_THEME WHERE ZT=1 AND ThemePart=%1 "
                                              "AND ThemeChapter=%2 AND ThemeType=%3")
                                   .arg(row.value(0).toLongLong())
                                   .arg(row.value(1).toLongLong())
                                   .arg(row.value(2).toLongLong()));
        count.next();
        return count.value(0).toLongLong();
    }

    void CheckContentRows(const QString &modelId, const QString &name)
    {
        // A server's columns are typed: what they hold is whole by their type.
        const bool typed = FDb.driverName() != QLatin1String("QSQLITE");
        const QString storage = typed ? QStringLiteral("'integer', 'integer', 'integer'")
                                      : QStringLiteral("typeof(ThemePart), typeof(ThemeChapter), typeof(ThemeType)");
        QSqlQuery rows = Open(
            QStringLiteral("SELECT %1, %2 FROM T_KS_ThemeModelContent WHERE ModelID=%3 ORDER BY ThemeType, %4")
                .arg(KContentColumns.join(QLatin1Char(',')), storage, modelId,
                     typed ? QStringLiteral("ContentID") : QStringLiteral("rowid")));
        qlonglong points = 0;
        int rowCount = 0;
        while (rows.next()) {
            ++rowCount;
            const QString row = name
                + QStringLiteral("内容行（部分 %1，章节 %2，题型 %3）：")
                      .arg(rows.value(0).toString(), rows.value(1).toString(), rows.value(2).toString());
            points += rows.value(6).toLongLong();
            QStringList nulls;
            for (int i = 0; i < KContentColumns.size(); ++i)
                if (rows.value(i).isNull())
                    nulls << KContentColumns[i];
            if (!nulls.isEmpty()) {
                Add(TBankProblem::ContentValueNull, row + nulls.join(QStringLiteral("、")) + QStringLiteral(" 为空"));
                continue;
            }
            if (!DrawColumnsWhole(rows, row))
                continue;
            const qlonglong themeCount = rows.value(3).toLongLong();
            const qlonglong selectCount = rows.value(4).toLongLong();
            const qlonglong themeBit = rows.value(5).toLongLong();
            const qlonglong bitCount = rows.value(6).toLongLong();
            if (themeCount < selectCount)
                Add(TBankProblem::ThemeCountBelowSelect,
                    row + QStringLiteral("题目数 ThemeCount %1 少于抽题数 SelectCount %2").arg(themeCount).arg(selectCount));
            if (selectCount > 0) {
                const qlonglong candidates = Candidates(rows);
                if (candidates != themeCount)
                    Add(TBankProblem::ThemeCountMismatch,
                        row
                            + QStringLiteral("题目数 ThemeCount %1 与题库中可抽的 %2 道题（ZT=1）不符")
                                  .arg(themeCount)
                                  .arg(candidates));
            }
            if (bitCount != qMax<qlonglong>(selectCount, 0) * themeBit)
                Add(TBankProblem::RowPoints,
                    row
                        + QStringLiteral("分值 BitCount %1 不等于抽题数 %2 × 每题分值 %3")
                              .arg(bitCount)
                              .arg(selectCount)
                              .arg(themeBit));
        }
        if (rowCount == 0)
            Add(TBankProblem::NoContentRows, name + QStringLiteral("没有内容行，分值合计为 0"));
        else if (points != 100)
            Add(TBankProblem::PointsTotal, name + QStringLiteral("的分值 BitCount 合计为 %1，应为 100").arg(points));
    }

    // A value that is not a whole number changes the draw's statement
    // (text such as "1 and 0 or ThemeChapter=20") or matches nothing.
    bool DrawColumnsWhole(const QSqlQuery &rows, const QString &row)
    {
        static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
        bool sound = true;
        for (int i = 0; i < KDrawColumns.size(); ++i) {
            const QString storage = rows.value(KContentColumns.size() + i).toString();
            const QString text = storage == QLatin1String("blob")
                ? QStringLiteral("二进制数据 %1 字节").arg(rows.value(i).toByteArray().size())
                : rows.value(i).toString();
            if (storage == QLatin1String("integer") || (storage == QLatin1String("text") && whole.match(text).hasMatch()))
                continue;
            Add(TBankProblem::ContentValueNotWhole,
                row + QStringLiteral("%1 的值 %2 不是整数，抽题语句会把它原样拼入条件").arg(KDrawColumns[i], Quoted(text)));
            sound = false;
        }
        return sound;
    }

    void CheckThemeIds()
    {
        QSqlQuery duplicates = Open(QStringLiteral("SELECT ThemeID, COUNT(*) FROM T_KS_THEME WHERE ThemeID IS NOT NULL "
                                                   "GROUP BY ThemeID HAVING COUNT(*) > 1 ORDER BY ThemeID"));
        while (duplicates.next())
            Add(TBankProblem::DuplicateThemeId,
                QStringLiteral("题目编号 ThemeID %1 出现 %2 次")
                    .arg(duplicates.value(0).toString(), duplicates.value(1).toString()));
        QSqlQuery nulls = Open(QStringLiteral("SELECT COUNT(*) FROM T_KS_THEME WHERE ThemeID IS NULL"));
        if (nulls.next() && nulls.value(0).toLongLong() > 0)
            Add(TBankProblem::ThemeIdNull,
                QStringLiteral("有 %1 道题的题目编号 ThemeID 为空").arg(nulls.value(0).toLongLong()));
    }

    void CheckAnswer(const QString &question, int type, const QSqlQuery &row)
    {
        const QString answer = row.value(7).toString();
        if (answer.isEmpty()) {
            Add(TBankProblem::AnswerEmpty, question + QStringLiteral("答案 ThemeResult 为空"));
            return;
        }
        bool ascending = true;
        QChar previous = QLatin1Char('0');
        for (const QChar digit : answer) {
            ascending = ascending && digit > previous && digit <= QLatin1Char('5');
            previous = digit;
        }
        if (!ascending) {
            Add(TBankProblem::AnswerNotAscending,
                question + QStringLiteral("答案 %1 不是按升序排列、不重复的选项号 1–5").arg(Quoted(answer)));
            return;
        }
        QStringList empty;
        for (const QChar digit : answer)
            if (row.value(1 + digit.digitValue()).toString().isEmpty())
                empty << QString(digit);
        if (!empty.isEmpty())
            Add(TBankProblem::AnswerEmptyOption,
                question + QStringLiteral("答案 %1 指向空选项 %2").arg(Quoted(answer), empty.join(QStringLiteral("、"))));
        if ((type == 1 || type == 2) && answer.size() > 1)
            Add(TBankProblem::AnswerSeveralForSingle,
                question
                    + QStringLiteral("%1的答案 %2 有多个选项，只能选一个")
                          .arg(type == 1 ? QStringLiteral("判断题") : QStringLiteral("单选题"), Quoted(answer)));
    }

    void CheckQuestions()
    {
        QSqlQuery rows = Open(QStringLiteral("SELECT ThemeID, ThemeType, ThemeSpareA, ThemeSpareB, ThemeSpareC, ThemeSpareD, "
                                             "ThemeSpareE, ThemeResult, ThemeImage FROM T_KS_THEME ORDER BY ThemeID"));
        while (rows.next()) {
            const QString question = QStringLiteral("题目 %1：").arg(rows.value(0).toString());
            bool typeOk = false;
            const int type = rows.value(1).toInt(&typeOk);
            if (!typeOk || type < 1 || type > 3)
                Add(TBankProblem::ThemeTypeInvalid,
                    question
                        + QStringLiteral("题型 ThemeType 为 %1，应为 1 判断、2 单选或 3 多选")
                              .arg(Quoted(rows.value(1).toString())));
            QStringList nullOptions;
            for (int option = 1; option <= 5; ++option)
                if (rows.value(1 + option).isNull())
                    nullOptions << QString::number(option);
            if (!nullOptions.isEmpty())
                Add(TBankProblem::OptionNull,
                    question + QStringLiteral("选项 %1 为 NULL，应为空文本").arg(nullOptions.join(QStringLiteral("、"))));
            CheckAnswer(question, type, rows);
            if (!rows.value(8).isNull())
                CheckPicture(question, rows.value(8).toByteArray());
        }
    }

    void CheckPicture(const QString &question, const QByteArray &bytes)
    {
        try {
            DecodeJpeg(bytes);
        } catch (const EJpegError &error) {
            Add(TBankProblem::PictureNotJpeg,
                question
                    + QStringLiteral("图片 ThemeImage 不是可读的 JPEG（%1 字节：%2）").arg(bytes.size()).arg(error.Message()));
        }
    }

    void CheckNotes()
    {
        QSqlQuery orphans = Open(
            QStringLiteral("SELECT ThemeID FROM T_KS_ThemeNote WHERE ThemeID NOT IN "
                           "(SELECT ThemeID FROM T_KS_THEME WHERE ThemeID IS NOT NULL) ORDER BY ThemeID"));
        while (orphans.next())
            Add(TBankProblem::NoteWithoutQuestion,
                QStringLiteral("解析 T_KS_ThemeNote 的题目编号 %1 在题库中没有题目").arg(orphans.value(0).toString()));
    }

    void CheckSetNumbers()
    {
        QSqlQuery blanks = Open(QStringLiteral("SELECT TT, COUNT(*) FROM T_KS_THEME WHERE TT IS NOT NULL AND TRIM(TT)='' "
                                               "GROUP BY TT ORDER BY TT"));
        while (blanks.next())
            Add(TBankProblem::SetNumberBlank,
                QStringLiteral("有 %1 道题的套题号 TT 为空白文本 %2（应为 NULL），套题练习的列表中会出现一个没有名字的套题")
                    .arg(blanks.value(1).toLongLong())
                    .arg(Quoted(blanks.value(0).toString())));
    }
};

} // namespace

TBankReport ReportOnBank(const QSqlDatabase &db)
{
    return TBankChecker(db).Run();
}

QList<TBankFinding> CheckBank(const QSqlDatabase &db)
{
    return ReportOnBank(db).Findings;
}

QList<TBankFinding> CheckBankFile(const QString &fileName)
{
    return ReportOnBankFile(fileName).Findings;
}

TBankReport ReportOnBankFile(const QString &fileName)
{
    if (!QFile::exists(fileName))
        throw EDatabaseError(QStringLiteral("%1 does not exist").arg(fileName));
    const QString connection = QStringLiteral("bank-check");
    TBankReport report;
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(fileName);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            throw EDatabaseError(QStringLiteral("%1 cannot be opened: %2").arg(fileName, db.lastError().text()));
        {
            // Opening succeeds on any file; the first statement tells.
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")))
                throw EDatabaseError(
                    QStringLiteral("%1 is not a bank (SQLite) file: %2").arg(fileName, probe.lastError().text()));
        }
        report = ReportOnBank(db);
        db.close();
    } catch (...) {
        QSqlDatabase::database(connection, false).close();
        QSqlDatabase::removeDatabase(connection);
        throw;
    }
    QSqlDatabase::removeDatabase(connection);
    return report;
}
