#include "tools/USampleBank.h"

#include <QFile>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

#include "app/UDbError.h"
#include "app/UJpeg.h"
#include "tools/UBankFile.h"
#include "tools/USignPictures.h"

namespace {

const QString KQuestionFile = QStringLiteral(":/examora/sample/questions.tsv");
const QString KChapterFile = QStringLiteral(":/examora/sample/chapters.tsv");
const QStringList KQuestionColumns{
    QStringLiteral("ThemeID"), QStringLiteral("ThemeChapter"), QStringLiteral("ThemeType"), QStringLiteral("TT"),
    QStringLiteral("ThemeContent"), QStringLiteral("ThemeSpareA"), QStringLiteral("ThemeSpareB"),
    QStringLiteral("ThemeSpareC"), QStringLiteral("ThemeSpareD"), QStringLiteral("ThemeSpareE"),
    QStringLiteral("ThemeResult"), QStringLiteral("Picture")};
const QStringList KChapterColumns{QStringLiteral("ThemeChapter"), QStringLiteral("THEMENAME")};

QByteArray ReadResource(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("sample data missing: %1").arg(resource));
    return file.readAll();
}

// One table: a header line naming the columns, then one row per line.
// Tabs separate the cells; the texts never hold tabs or line breaks.
QList<QStringList> ParseTable(const QByteArray &text, const QString &source, const QStringList &columns)
{
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    if (lines.isEmpty() || lines.first().trimmed().split(QLatin1Char('\t')) != columns)
        throw EDatabaseError(QStringLiteral("%1: the header must read %2").arg(source, columns.join(QLatin1Char(' '))));
    QList<QStringList> rows;
    for (int i = 1; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (cells.size() != columns.size())
            throw EDatabaseError(QStringLiteral("%1 line %2: %3 cells instead of %4")
                                     .arg(source).arg(i + 1).arg(cells.size()).arg(columns.size()));
        rows.append(cells);
    }
    return rows;
}

int ReadNumber(const QString &text, const QString &where)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw EDatabaseError(QStringLiteral("%1: '%2' is no number").arg(where, text));
    return value;
}

// The answer must name offered options only, as ascending digits; a true/false
// or single-choice question has exactly one of them.
void CheckResult(const TSampleQuestion &question, const QString &where)
{
    const QString &result = question.Result;
    bool sound = !result.isEmpty() && (question.Type == 3 || result.size() == 1);
    for (int i = 0; sound && i < result.size(); ++i) {
        const int option = result[i].digitValue();
        sound = option >= 1 && option <= 5 && !question.Options[option - 1].isEmpty()
                && (i == 0 || result[i - 1].digitValue() < option);
    }
    if (!sound)
        throw EDatabaseError(QStringLiteral("%1: answer '%2' does not fit the options").arg(where, result));
}

QVariant PictureOf(const QString &key, QHash<QString, QByteArray> &cache, const QString &where)
{
    if (key.isEmpty())
        return QVariant(QMetaType(QMetaType::QByteArray));
    if (!cache.contains(key)) {
        const QImage image = DrawSignPicture(key);
        if (image.isNull())
            throw EDatabaseError(QStringLiteral("%1: no picture is drawn for '%2'").arg(where, key));
        cache.insert(key, EncodeJpeg(image, 88));
    }
    return cache.value(key);
}

void InsertQuestion(QSqlQuery &insert, const TSampleQuestion &question, const QVariant &picture)
{
    insert.addBindValue(question.Id);
    insert.addBindValue(1);
    insert.addBindValue(question.Chapter);
    insert.addBindValue(question.Type);
    insert.addBindValue(question.Content);
    insert.addBindValue(picture);
    for (const QString &option : question.Options)
        insert.addBindValue(option);
    insert.addBindValue(question.Result);
    insert.addBindValue(question.Set.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(question.Set));
    if (!insert.exec())
        throw EDatabaseError(insert.lastError().text() + QStringLiteral(" (question %1)").arg(question.Id));
}

} // namespace

QList<TSampleQuestion> ParseSampleQuestions(const QByteArray &text, const QString &source)
{
    QList<TSampleQuestion> questions;
    for (const QStringList &cells : ParseTable(text, source, KQuestionColumns)) {
        TSampleQuestion question;
        const QString where = QStringLiteral("question %1").arg(cells[0]);
        question.Id = ReadNumber(cells[0], where);
        question.Chapter = ReadNumber(cells[1], where);
        question.Type = ReadNumber(cells[2], where);
        question.Set = cells[3];
        question.Content = cells[4];
        question.Options = cells.mid(5, 5);
        question.Result = cells[10];
        question.PictureKey = cells[11];
        if (question.Type < 1 || question.Type > 3 || question.Content.isEmpty())
            throw EDatabaseError(QStringLiteral("%1: type or text missing").arg(where));
        CheckResult(question, where);
        questions.append(question);
    }
    return questions;
}

QList<TSampleQuestion> ReadSampleQuestions()
{
    return ParseSampleQuestions(ReadResource(KQuestionFile), KQuestionFile);
}

QList<QPair<int, QString>> ReadSampleChapters()
{
    QList<QPair<int, QString>> chapters;
    for (const QStringList &cells : ParseTable(ReadResource(KChapterFile), KChapterFile, KChapterColumns))
        chapters.append({ReadNumber(cells[0], QStringLiteral("chapter")), cells[1]});
    return chapters;
}

void WriteSampleBank(QSqlDatabase &db)
{
    const QList<TSampleQuestion> questions = ReadSampleQuestions();
    const QList<QPair<int, QString>> chapters = ReadSampleChapters();
    if (!db.transaction())
        throw EDatabaseError(db.lastError().text());
    try {
        QSqlQuery chapter(db);
        chapter.prepare(QStringLiteral("INSERT INTO T_KS_CHAPTER (ThemeChapter, THEMENAME) VALUES (?, ?)"));
        for (const auto &[number, name] : chapters) {
            chapter.addBindValue(number);
            chapter.addBindValue(name);
            if (!chapter.exec())
                throw EDatabaseError(chapter.lastError().text() + QStringLiteral(" (chapter %1)").arg(number));
        }
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO T_KS_THEME (ThemeID, ThemePart, ThemeChapter, ThemeType, "
                                      "ThemeContent, ThemeImage, ThemeSpareA, ThemeSpareB, ThemeSpareC, ThemeSpareD, "
                                      "ThemeSpareE, ThemeResult, TT, ThemeSpareF, ZT) "
                                      "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,NULL,1)"));
        QHash<QString, QByteArray> pictures;
        for (const TSampleQuestion &question : questions)
            InsertQuestion(insert, question, PictureOf(question.PictureKey, pictures, QStringLiteral("question %1").arg(question.Id)));
        WriteTemplates(db);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw EDatabaseError(db.lastError().text());
}
