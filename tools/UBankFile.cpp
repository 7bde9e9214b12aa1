#include "UBankFile.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

#include "UDbError.h"
#include "UJpeg.h"

QStringList BankSchemaStatements()
{
    QFile schema(QStringLiteral(":/examora/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("schema resource missing"));
    const QString text = QString::fromUtf8(schema.readAll());
    QStringList statements;
    QString statement;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        statement += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            statements << statement;
            statement.clear();
        }
    }
    return statements;
}

QSqlDatabase CreateBankFile(const QString &fileName, const QString &connectionName)
{
    QFile::remove(fileName);
    QFile::remove(fileName + QStringLiteral("-wal"));
    QFile::remove(fileName + QStringLiteral("-shm"));
    return OpenNewBankFile(fileName, connectionName);
}

QSqlDatabase OpenNewBankFile(const QString &fileName, const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(fileName);
    if (!db.open())
        throw EDatabaseError(db.lastError().text());
    for (const QString &statement : BankSchemaStatements())
        ExecBankSql(db, statement);
    return db;
}

QSqlQuery OpenBankQuery(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw EDatabaseError(query.lastError().text() + QStringLiteral(" in: ") + sql);
    return query;
}

void ExecBankSql(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw EDatabaseError(query.lastError().text() + QStringLiteral(" in: ") + sql.left(200));
}

namespace {

// The topics of one licence class each; every other topic of a chapter
// group is general and drawn by all its classes.
const QList<int> KClassParts{11, 12, 13, 14, 21};

struct TTemplateShape
{
    QString Code;
    int Minutes;
    int Points;             // per question
    QList<int> Chapters;
    QList<int> TypeCounts;  // questions of type 1, 2 and 3
    QList<int> OwnParts;    // the class's own topics …
    int OwnPercent;         // … and their share of each type
};

struct TContentRow
{
    int Part, Chapter, Type, Count, Select;
};

// The bank's questions per part, chapter and type, as the draw's candidate
// statement counts them.
QList<TContentRow> BankGroups(QSqlDatabase &db, const QList<int> &chapterList)
{
    QStringList chapters;
    for (int c : chapterList)
        chapters << QString::number(c);
    QSqlQuery groups(db);
    if (!groups.exec(QStringLiteral("SELECT ThemePart, ThemeChapter, ThemeType, COUNT(*) FROM T_KS_THEME "
                                    "WHERE ZT=1 AND ThemeChapter IN (%1) GROUP BY ThemePart, ThemeChapter, ThemeType "
                                    "ORDER BY ThemeType, ThemeChapter, ThemePart").arg(chapters.join(QLatin1Char(',')))))
        throw EDatabaseError(groups.lastError().text());
    QList<TContentRow> rows;
    while (groups.next())
        rows.append({groups.value(0).toInt(), groups.value(1).toInt(), groups.value(2).toInt(), groups.value(3).toInt(), 0});
    return rows;
}

int Available(const QList<TContentRow *> &rows)
{
    int total = 0;
    for (const TContentRow *row : rows)
        total += row->Count;
    return total;
}

// Every group in proportion to its size, the remainder handed out one by
// one in row order to the groups with room left.
void Distribute(const QList<TContentRow *> &rows, int wanted)
{
    const int total = Available(rows);
    int assigned = 0;
    for (TContentRow *row : rows) {
        row->Select = row->Count * wanted / total;
        assigned += row->Select;
    }
    for (int i = 0; assigned < wanted; i = (i + 1) % rows.size()) {
        if (rows[i]->Select < rows[i]->Count) {
            ++rows[i]->Select;
            ++assigned;
        }
    }
}

// Each type's questions: the class's own share from its own topics (as far
// as the bank has them), the rest from the general topics.
void SelectQuestions(QList<TContentRow> &rows, const TTemplateShape &shape)
{
    for (int type = 1; type <= shape.TypeCounts.size(); ++type) {
        const int wanted = shape.TypeCounts[type - 1];
        QList<TContentRow *> own;
        QList<TContentRow *> general;
        for (TContentRow &row : rows) {
            if (row.Type != type)
                continue;
            if (shape.OwnParts.contains(row.Part))
                own << &row;
            else if (!KClassParts.contains(row.Part))
                general << &row;
        }
        const int fromOwn = qMin((wanted * shape.OwnPercent + 50) / 100, Available(own));
        if (Available(general) < wanted - fromOwn)
            throw EDatabaseError(QStringLiteral("not enough questions of type %1 for template %2").arg(type).arg(shape.Code));
        if (fromOwn > 0)
            Distribute(own, fromOwn);
        if (wanted > fromOwn)
            Distribute(general, wanted - fromOwn);
    }
}

void WriteTemplate(QSqlDatabase &db, int modelId, const TTemplateShape &shape)
{
    ExecBankSql(db, QStringLiteral("INSERT INTO T_KS_Model (ModelID, IsUser, DirvesType, RandomTheme, KSSJ) "
                                   "VALUES (%1, 1, '%2', 0, %3)").arg(modelId).arg(shape.Code).arg(shape.Minutes));
    QList<TContentRow> rows = BankGroups(db, shape.Chapters);
    SelectQuestions(rows, shape);
    for (const TContentRow &row : std::as_const(rows)) {
        if (row.Type > shape.TypeCounts.size()
            || (KClassParts.contains(row.Part) && !shape.OwnParts.contains(row.Part)))
            continue;
        ExecBankSql(db, QStringLiteral("INSERT INTO T_KS_ThemeModelContent (ModelID, ThemePart, ThemeChapter, ThemeType, "
                                       "ThemeCount, SelectCount, ThemeBit, BitCount) VALUES (%1,%2,%3,%4,%5,%6,%7,%8)")
                                   .arg(modelId).arg(row.Part).arg(row.Chapter).arg(row.Type).arg(row.Count)
                                   .arg(row.Select).arg(shape.Points).arg(row.Select * shape.Points));
    }
}

} // namespace

void WriteTemplates(QSqlDatabase &db)
{
    const QList<int> chapterOne{1};
    const QList<int> safety{20, 21, 22, 23, 24, 25, 26};
    // 科目一: 40 true/false and 60 single choice; 科目四: 20, 20 and 10 multiple.
    const QList<int> licencePaper{40, 60};
    const QList<int> motorcyclePaper{20, 30};
    const QList<int> safetyPaper{20, 20, 10};
    const QList<TTemplateShape> shapes{
        {QStringLiteral("001"), 45, 1, chapterOne, licencePaper, {}, 0},
        {QStringLiteral("002"), 45, 1, chapterOne, licencePaper, {11}, 25},
        {QStringLiteral("003"), 45, 1, chapterOne, licencePaper, {12}, 25},
        {QStringLiteral("004"), 45, 1, chapterOne, licencePaper, {13}, 15},
        {QStringLiteral("005"), 30, 2, chapterOne, motorcyclePaper, {14}, 30},
        {QStringLiteral("101"), 30, 2, safety, safetyPaper, {}, 0},
        {QStringLiteral("102"), 30, 2, safety, safetyPaper, {21}, 30},
        {QStringLiteral("103"), 30, 2, safety, safetyPaper, {21}, 30},
        {QStringLiteral("104"), 30, 2, safety, safetyPaper, {}, 0},
    };
    int modelId = 1;
    for (const TTemplateShape &shape : shapes)
        WriteTemplate(db, modelId++, shape);
}

void WriteSyntheticBank(QSqlDatabase &db, int questionCount, double pictureShare, int pictureBytes)
{
    ExecBankSql(db, QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (1, '道路交通安全法律、法规和规章')"));
    for (int c = 20; c <= 26; ++c)
        ExecBankSql(db, QStringLiteral("INSERT INTO T_KS_CHAPTER VALUES (%1, '安全文明驾驶知识 第%2节')").arg(c).arg(c - 19));
    // One noisy picture, reused: its size is what the benchmarks care about.
    QByteArray picture;
    if (pictureShare > 0) {
        QImage image(320, 240, QImage::Format_RGB888);
        QRandomGenerator random(42);
        for (int quality = 95; quality >= 10; quality -= 5) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(x, y, qRgb(random.bounded(256), (x * 255) / 320, (y * 255) / 240));
            picture = EncodeJpeg(image, quality);
            if (picture.size() <= pictureBytes)
                break;
        }
    }
    ExecBankSql(db, QStringLiteral("BEGIN"));
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO T_KS_THEME (ThemeID, ThemePart, ThemeChapter, ThemeType, ThemeContent, "
                                  "ThemeImage, ThemeSpareA, ThemeSpareB, ThemeSpareC, ThemeSpareD, ThemeSpareE, "
                                  "ThemeSpareF, ThemeResult, ZT, TT) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const int pictureEvery = pictureShare > 0 ? qMax(1, int(1.0 / pictureShare + 0.5)) : 0;
    for (int id = 1; id <= questionCount; ++id) {
        // The types in about the shares the templates draw: 科目一 40 % true/false
        // and 50 % single choice, 科目四 40 %, 40 % and 20 % multiple choice.
        const int chapter = id % 3 == 0 ? 20 + (id / 3) % 7 : 1;
        const int type = chapter == 1 ? (id % 10 < 4 ? 1 : id % 10 < 9 ? 2 : 3) : QList<int>{1, 1, 2, 2, 3}[(id / 3) % 5];
        insert.addBindValue(id);
        insert.addBindValue(1);
        insert.addBindValue(chapter);
        insert.addBindValue(type);
        insert.addBindValue(QStringLiteral("第%1题：生成的练习题目文字。").arg(id));
        insert.addBindValue(pictureEvery && id % pictureEvery == 0 ? QVariant(picture) : QVariant(QMetaType(QMetaType::QByteArray)));
        insert.addBindValue(type == 1 ? QStringLiteral("正确") : QStringLiteral("选项一"));
        insert.addBindValue(type == 1 ? QStringLiteral("错误") : QStringLiteral("选项二"));
        insert.addBindValue(type == 1 ? QStringLiteral("") : QStringLiteral("选项三"));
        insert.addBindValue(type == 1 ? QStringLiteral("") : QStringLiteral("选项四"));
        insert.addBindValue(QStringLiteral(""));
        insert.addBindValue(QVariant(QMetaType(QMetaType::QString)));
        insert.addBindValue(type == 3 ? QStringLiteral("13") : QStringLiteral("1"));
        insert.addBindValue(1);
        insert.addBindValue(QStringLiteral("%1").arg(1 + (id - 1) / 25, 2, 10, QLatin1Char('0')));
        if (!insert.exec())
            throw EDatabaseError(insert.lastError().text());
    }
    ExecBankSql(db, QStringLiteral("COMMIT"));
    WriteTemplates(db);
}
