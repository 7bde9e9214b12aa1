#include "tools/UBankFile.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

#include "app/UDbError.h"
#include "app/UJpeg.h"

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

void ExecBankSql(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw EDatabaseError(query.lastError().text() + QStringLiteral(" in: ") + sql.left(200));
}

namespace {

struct TTemplateShape
{
    QString Code;
    int Minutes;
    int Points;       // per question
    int Questions;
    QList<int> Chapters;
};

// Content rows: every part/chapter/type group of the bank in proportion to
// its size, so that the SelectCounts add up to the paper's questions.
void WriteTemplate(QSqlDatabase &db, int modelId, const TTemplateShape &shape)
{
    ExecBankSql(db, QStringLiteral("INSERT INTO T_KS_Model (ModelID, IsUser, DirvesType, RandomTheme, KSSJ) "
                                   "VALUES (%1, 1, '%2', 0, %3)").arg(modelId).arg(shape.Code).arg(shape.Minutes));
    QStringList chapters;
    for (int c : shape.Chapters)
        chapters << QString::number(c);
    QSqlQuery groups(db);
    if (!groups.exec(QStringLiteral("SELECT ThemePart, ThemeChapter, ThemeType, COUNT(*) FROM T_KS_THEME "
                                    "WHERE ZT=1 AND ThemeChapter IN (%1) GROUP BY ThemePart, ThemeChapter, ThemeType "
                                    "ORDER BY ThemeType, ThemeChapter, ThemePart").arg(chapters.join(QLatin1Char(',')))))
        throw EDatabaseError(groups.lastError().text());
    struct TGroup { int Part, Chapter, Type, Count, Select; };
    QList<TGroup> rows;
    int total = 0;
    while (groups.next()) {
        rows.append({groups.value(0).toInt(), groups.value(1).toInt(), groups.value(2).toInt(), groups.value(3).toInt(), 0});
        total += rows.back().Count;
    }
    if (total < shape.Questions)
        throw EDatabaseError(QStringLiteral("not enough questions for template %1").arg(shape.Code));
    int assigned = 0;
    for (TGroup &row : rows) {
        row.Select = row.Count * shape.Questions / total;
        assigned += row.Select;
    }
    // Hand out the remainder one by one, in row order, to the groups with room left.
    for (int i = 0; assigned < shape.Questions; i = (i + 1) % rows.size()) {
        if (rows[i].Select < rows[i].Count) {
            ++rows[i].Select;
            ++assigned;
        }
    }
    for (const TGroup &row : rows) {
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
    const QList<TTemplateShape> shapes{
        {QStringLiteral("001"), 45, 1, 100, chapterOne}, {QStringLiteral("002"), 45, 1, 100, chapterOne},
        {QStringLiteral("003"), 45, 1, 100, chapterOne}, {QStringLiteral("004"), 45, 1, 100, chapterOne},
        {QStringLiteral("005"), 30, 2, 50, chapterOne},  {QStringLiteral("101"), 30, 2, 50, safety},
        {QStringLiteral("102"), 30, 2, 50, safety},      {QStringLiteral("103"), 30, 2, 50, safety},
        {QStringLiteral("104"), 30, 2, 50, safety},
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
        const int chapter = id % 3 == 0 ? 20 + (id / 3) % 7 : 1;
        const int type = 1 + id % 3;
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
