#include "USampleBank.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include "UBankFile.h"
#include "UDbError.h"
#include "UJpeg.h"
#include "USignPictures.h"

namespace {

const QString KQuestionFolder = QStringLiteral(":/examora/sample/questions");
const QString KChapterFile = QStringLiteral(":/examora/sample/chapters.tsv");
const QString KPartFile = QStringLiteral(":/examora/sample/parts.tsv");
const QStringList KQuestionColumns{QStringLiteral("ThemeID"),     QStringLiteral("ThemeChapter"),
                                   QStringLiteral("ThemePart"),   QStringLiteral("ThemeType"),
                                   QStringLiteral("TT"),          QStringLiteral("ThemeContent"),
                                   QStringLiteral("ThemeSpareA"), QStringLiteral("ThemeSpareB"),
                                   QStringLiteral("ThemeSpareC"), QStringLiteral("ThemeSpareD"),
                                   QStringLiteral("ThemeSpareE"), QStringLiteral("ThemeResult"),
                                   QStringLiteral("Picture"),     QStringLiteral("Explanation")};
const QStringList KChapterColumns{QStringLiteral("ThemeChapter"), QStringLiteral("THEMENAME")};
const QStringList KPartColumns{QStringLiteral("ThemePart"), QStringLiteral("PARTNAME")};
const QString KPictureOpening = QStringLiteral("如图所示");
const QStringList KTrueFalseOptions{QStringLiteral("正确"), QStringLiteral("错误"), QString(), QString(), QString()};

// The ID and set range of each author's file keeps the files from colliding.
struct TFileRange
{
    QString File;
    int FirstId, LastId;
    int FirstSet, LastSet;
};

const QList<TFileRange> KFileRanges{
    {QStringLiteral("k1-licence.tsv"), 1001, 1999, 1, 12},
    {QStringLiteral("k1-road.tsv"), 2001, 2999, 13, 24},
    {QStringLiteral("k1-signals.tsv"), 3001, 3999, 25, 30},
    {QStringLiteral("k4-safety.tsv"), 4001, 4999, 41, 56},
};
// A school's own file: the IDs and sets the shipped files leave free.
const TFileRange KOwnFileRange{QString(), 5001, 99999, 60, 99};

const TFileRange &RangeOf(const QString &fileName)
{
    for (const TFileRange &range : KFileRanges)
        if (range.File == fileName)
            return range;
    return KOwnFileRange;
}

QByteArray ReadResource(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("sample data missing: %1").arg(resource));
    return file.readAll();
}

// The lines of a table after its header, numbered from 1 for the header;
// tabs separate the cells, the texts never hold tabs or line breaks.
struct TTableLine
{
    int Number;
    QStringList Cells;
};

QList<TTableLine> SplitTable(const QByteArray &text, const QString &source, const QStringList &columns)
{
    QString content = QString::fromUtf8(text);
    // Editors on Windows like to begin UTF-8 with a byte order mark.
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);
    const QStringList lines = content.split(QLatin1Char('\n'));
    if (lines.first().trimmed().split(QLatin1Char('\t')) != columns)
        throw EDatabaseError(
            QStringLiteral("%1 line 1: the header must read %2").arg(source, columns.join(QLatin1Char(' '))));
    QList<TTableLine> rows;
    for (int i = 1; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty())
            rows.append({i + 1, line.split(QLatin1Char('\t'))});
    }
    return rows;
}

QString CellCountFault(const TTableLine &line, const QStringList &columns)
{
    if (line.Cells.size() == columns.size())
        return {};
    return QStringLiteral("%1 cells instead of %2").arg(line.Cells.size()).arg(columns.size());
}

int ReadNumber(const QString &text, const QString &what, QStringList &faults)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        faults << QStringLiteral("%1 '%2' is no number").arg(what, text);
    return value;
}

QList<QPair<int, QString>> ReadNamedNumbers(const QString &resource, const QStringList &columns)
{
    QList<QPair<int, QString>> rows;
    for (const TTableLine &line : SplitTable(ReadResource(resource), resource, columns)) {
        QStringList faults;
        const QString count = CellCountFault(line, columns);
        const int number = count.isEmpty() ? ReadNumber(line.Cells[0], columns[0], faults) : 0;
        if (!count.isEmpty() || !faults.isEmpty())
            throw EDatabaseError(
                QStringLiteral("%1 line %2: %3").arg(resource).arg(line.Number).arg(count + faults.join(QString())));
        rows.append({number, line.Cells[1]});
    }
    return rows;
}

// Topics up to 19 belong to chapter 1, the later ones to the safety chapters.
bool IsSafetyNumber(int chapterOrPart)
{
    return chapterOrPart >= 20;
}

// What the exam screen and the scoring rely on: true/false offers exactly
// 正确 and 错误, the choices offer A–D, and the key names offered options
// as ascending digits (two to four of them for multiple choice).
QString AnswerFault(const TSampleQuestion &question)
{
    const QString &result = question.Result;
    if (question.Type == 1) {
        if (question.Options != KTrueFalseOptions)
            return QStringLiteral("true/false options must be 正确 and 错误 in A and B, nothing else");
        return result == QLatin1String("1") || result == QLatin1String("2")
            ? QString()
            : QStringLiteral("true/false answer '%1' must be 1 or 2").arg(result);
    }
    if (question.Options.mid(0, 4).contains(QString()) || !question.Options[4].isEmpty())
        return QStringLiteral("choices must offer the four options A-D and no E");
    const bool single = question.Type == 2;
    bool sound = single ? result.size() == 1 : result.size() >= 2 && result.size() <= 4;
    for (int i = 0; sound && i < result.size(); ++i) {
        const int option = result[i].digitValue();
        sound = option >= 1 && option <= 4 && (i == 0 || result[i - 1].digitValue() < option);
    }
    if (sound)
        return {};
    return single ? QStringLiteral("single-choice answer '%1' must be one digit 1-4").arg(result)
                  : QStringLiteral("multiple-choice answer '%1' must be two to four ascending digits 1-4").arg(result);
}

class TQuestionFileParser
{
public:
    TQuestionFileParser()
    {
        for (const auto &[number, name] : ReadSampleChapters())
            FChapters.insert(number);
        for (const auto &[number, name] : ReadSampleParts())
            FParts.insert(number);
        const QStringList keys = SignPictureKeys();
        FPictureKeys = QSet<QString>(keys.cbegin(), keys.cend());
    }

    void Parse(const TQuestionFile &file)
    {
        QList<TTableLine> lines;
        try {
            lines = SplitTable(file.Text, file.Name, KQuestionColumns);
        } catch (const EDatabaseError &error) {
            FFaults << error.Message();
            return;
        }
        for (const TTableLine &line : std::as_const(lines)) {
            const QString where = QStringLiteral("%1 line %2").arg(file.Name).arg(line.Number);
            QStringList faults;
            const QString count = CellCountFault(line, KQuestionColumns);
            if (count.isEmpty())
                faults = ReadQuestion(line.Cells, RangeOf(file.Name), where);
            else
                faults << count;
            for (const QString &fault : std::as_const(faults))
                FFaults << where + QStringLiteral(": ") + fault;
        }
    }

    QList<TSampleQuestion> Result() const
    {
        if (!FFaults.isEmpty())
            throw EDatabaseError(FFaults.join(QLatin1Char('\n')));
        return FQuestions;
    }

private:
    QSet<int> FChapters;
    QSet<int> FParts;
    QSet<QString> FPictureKeys;
    QHash<int, QString> FIdPlaces; // where each ID was first seen
    QList<TSampleQuestion> FQuestions;
    QStringList FFaults;

    QStringList ReadQuestion(const QStringList &cells, const TFileRange &range, const QString &where)
    {
        QStringList faults;
        for (int i = 0; i < cells.size(); ++i)
            if (cells[i] != cells[i].trimmed())
                faults << QStringLiteral("%1 begins or ends with a blank").arg(KQuestionColumns[i]);
        TSampleQuestion question;
        question.Id = ReadNumber(cells[0], QStringLiteral("ThemeID"), faults);
        question.Chapter = ReadNumber(cells[1], QStringLiteral("ThemeChapter"), faults);
        question.Part = ReadNumber(cells[2], QStringLiteral("ThemePart"), faults);
        question.Type = ReadNumber(cells[3], QStringLiteral("ThemeType"), faults);
        question.Set = cells[4];
        question.Content = cells[5];
        question.Options = cells.mid(6, 5);
        question.Result = cells[11];
        question.PictureKey = cells[12];
        question.Explanation = cells[13];
        if (faults.isEmpty()) {
            faults << IdentityFaults(question, range, where);
            faults << ContentFaults(question);
        }
        if (faults.isEmpty())
            FQuestions.append(question);
        return faults;
    }

    QStringList IdentityFaults(const TSampleQuestion &question, const TFileRange &range, const QString &where)
    {
        QStringList faults;
        if (question.Id < range.FirstId || question.Id > range.LastId)
            faults << QStringLiteral("ThemeID %1 outside this file's range %2-%3")
                          .arg(question.Id)
                          .arg(range.FirstId)
                          .arg(range.LastId);
        if (FIdPlaces.contains(question.Id))
            faults << QStringLiteral("ThemeID %1 already used in %2").arg(question.Id).arg(FIdPlaces.value(question.Id));
        else
            FIdPlaces.insert(question.Id, where);
        bool setOk = false;
        const int set = question.Set.toInt(&setOk);
        if (question.Set.size() != 2 || !setOk || set < range.FirstSet || set > range.LastSet)
            faults << QStringLiteral("set '%1' is not a two-digit set %2-%3 of this file")
                          .arg(question.Set)
                          .arg(range.FirstSet, 2, 10, QLatin1Char('0'))
                          .arg(range.LastSet, 2, 10, QLatin1Char('0'));
        if (!FChapters.contains(question.Chapter))
            faults << QStringLiteral("chapter %1 is not in chapters.tsv").arg(question.Chapter);
        if (!FParts.contains(question.Part))
            faults << QStringLiteral("topic %1 is not in parts.tsv").arg(question.Part);
        else if (IsSafetyNumber(question.Part) != IsSafetyNumber(question.Chapter))
            faults << QStringLiteral("topic %1 does not belong to chapter %2").arg(question.Part).arg(question.Chapter);
        return faults;
    }

    QStringList ContentFaults(const TSampleQuestion &question) const
    {
        QStringList faults;
        if (question.Type < 1 || question.Type > 3) {
            faults << QStringLiteral("type %1 is not 1, 2 or 3").arg(question.Type);
        } else {
            const QString answer = AnswerFault(question);
            if (!answer.isEmpty())
                faults << answer;
        }
        if (question.Content.isEmpty())
            faults << QStringLiteral("the question text is empty");
        const bool picture = !question.PictureKey.isEmpty();
        if (picture && !FPictureKeys.contains(question.PictureKey))
            faults << QStringLiteral("no picture is drawn for '%1'").arg(question.PictureKey);
        if (picture && !question.Content.startsWith(KPictureOpening))
            faults << QStringLiteral("a question with a picture must begin with %1").arg(KPictureOpening);
        if (!picture && question.Content.contains(KPictureOpening))
            faults << QStringLiteral("%1 without a picture").arg(KPictureOpening);
        if (question.Explanation.isEmpty())
            faults << QStringLiteral("the explanation is empty");
        return faults;
    }
};

QVariant PictureOf(const QString &key, QHash<QString, QByteArray> &cache)
{
    if (key.isEmpty())
        return QVariant(QMetaType(QMetaType::QByteArray));
    if (!cache.contains(key)) {
        const QImage image = DrawSignPicture(key);
        if (image.isNull())
            throw EDatabaseError(QStringLiteral("no picture is drawn for '%1'").arg(key));
        cache.insert(key, EncodeJpeg(image, 88));
    }
    return cache.value(key);
}

void Exec(QSqlQuery &statement, const QString &what)
{
    if (!statement.exec())
        throw EDatabaseError(statement.lastError().text() + QStringLiteral(" (%1)").arg(what));
}

void InsertNamedNumbers(QSqlDatabase &db, const QString &insertSql, const QList<QPair<int, QString>> &rows)
{
    QSqlQuery insert(db);
    insert.prepare(insertSql);
    for (const auto &[number, name] : rows) {
        insert.addBindValue(number);
        insert.addBindValue(name);
        Exec(insert, QString::number(number));
    }
}

void InsertQuestions(QSqlDatabase &db, const QList<TSampleQuestion> &questions)
{
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO T_KS_THEME (ThemeID, ThemePart, ThemeChapter, ThemeType, "
                                  "ThemeContent, ThemeImage, ThemeSpareA, ThemeSpareB, ThemeSpareC, ThemeSpareD, "
                                  "ThemeSpareE, ThemeResult, TT, ThemeSpareF, ZT) "
                                  "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,NULL,1)"));
    QSqlQuery note(db);
    note.prepare(QStringLiteral("INSERT INTO T_KS_ThemeNote (ThemeID, Explanation) VALUES (?, ?)"));
    QHash<QString, QByteArray> pictures;
    for (const TSampleQuestion &question : questions) {
        const QString what = QStringLiteral("question %1").arg(question.Id);
        insert.addBindValue(question.Id);
        insert.addBindValue(question.Part);
        insert.addBindValue(question.Chapter);
        insert.addBindValue(question.Type);
        insert.addBindValue(question.Content);
        insert.addBindValue(PictureOf(question.PictureKey, pictures));
        // An option not offered is empty text, never NULL (the exam screen tests the text).
        for (const QString &option : question.Options)
            insert.addBindValue(option.isNull() ? QStringLiteral("") : option);
        insert.addBindValue(question.Result);
        insert.addBindValue(question.Set);
        Exec(insert, what);
        note.addBindValue(question.Id);
        note.addBindValue(question.Explanation);
        Exec(note, what);
    }
}

} // namespace

QList<TSampleQuestion> ParseSampleQuestionFiles(const QList<TQuestionFile> &files)
{
    TQuestionFileParser parser;
    for (const TQuestionFile &file : files)
        parser.Parse(file);
    return parser.Result();
}

QList<TSampleQuestion> ParseSampleQuestions(const QByteArray &text, const QString &fileName)
{
    return ParseSampleQuestionFiles({{fileName, text}});
}

QList<TQuestionFile> SampleQuestionFiles()
{
    QList<TQuestionFile> files;
    const QDir folder(KQuestionFolder);
    for (const QString &name : folder.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name))
        files.append({name, ReadResource(folder.filePath(name))});
    return files;
}

QList<TSampleQuestion> ReadSampleQuestions()
{
    return ParseSampleQuestionFiles(SampleQuestionFiles());
}

QList<QPair<int, QString>> ReadSampleChapters()
{
    return ReadNamedNumbers(KChapterFile, KChapterColumns);
}

QList<QPair<int, QString>> ReadSampleParts()
{
    return ReadNamedNumbers(KPartFile, KPartColumns);
}

void WriteSampleBank(QSqlDatabase &db)
{
    WriteSampleBank(db, ReadSampleQuestions());
}

void WriteSampleBank(QSqlDatabase &db, const QList<TSampleQuestion> &questions)
{
    const QList<QPair<int, QString>> chapters = ReadSampleChapters();
    const QList<QPair<int, QString>> parts = ReadSampleParts();
    if (!db.transaction())
        throw EDatabaseError(db.lastError().text());
    try {
        InsertNamedNumbers(db, QStringLiteral("INSERT INTO T_KS_CHAPTER (ThemeChapter, THEMENAME) VALUES (?, ?)"),
                           chapters);
        InsertNamedNumbers(db, QStringLiteral("INSERT INTO T_KS_ThemePart (ThemePart, PARTNAME) VALUES (?, ?)"), parts);
        InsertQuestions(db, questions);
        WriteTemplates(db);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw EDatabaseError(db.lastError().text());
}
