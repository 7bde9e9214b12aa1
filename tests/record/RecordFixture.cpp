#include "RecordFixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "URecordSchema.h"

TRecordFixture::TRecordFixture()
    : FStore(DM->ACon),
      FNow(QDate(2026, 11, 2), QTime(9, 0))
{
    QString reason;
    if (!EnsureRecordTables(DM->ACon, &reason))
        QTest::qFail(qPrintable(reason), __FILE__, __LINE__);
    FStore.Clock = [this] { return FNow = FNow.addSecs(60); };
}

QString TRecordFixture::PaperTableOf(const QString &mode)
{
    return IsPracticeMode(mode) ? QStringLiteral("T_KS_ExamineTheme_TT") : QStringLiteral("T_KS_ExamineTheme");
}

qint64 TRecordFixture::StorePaper(const QString &mode, const QString &scope, qint64 examineId,
                                  const std::vector<TPaperQuestion> &questions, const QString &driveTypeCode)
{
    const QString table = PaperTableOf(mode);
    int id = 1;
    for (const TPaperQuestion &question : questions) {
        QSqlQuery query(FBank.Db());
        query.prepare(QStringLiteral("INSERT INTO %1 (ID, ExamineID, ThemeID, ThemePart, ThemeChapter, ThemeType, "
                                     "ThemeContent, ThemeResult, ThemeBit, AnswerResult, Yxx_St) "
                                     "VALUES (?,?,?,1,?,?,'q',?,?,?,?)")
                          .arg(table));
        for (const QVariant &value :
             {QVariant(id++), QVariant(examineId), QVariant(question.ThemeID), QVariant(question.Chapter),
              QVariant(question.Type), QVariant(question.Result), QVariant(question.Bit), QVariant(question.Answer),
              QVariant(question.Answer.isEmpty() ? QString() : QStringLiteral("0"))})
            query.addBindValue(value);
        if (!query.exec())
            QTest::qFail(qPrintable(query.lastError().text()), __FILE__, __LINE__);
    }
    TRunContext run;
    run.PracticeMode = mode;
    run.PracticeScope = scope;
    run.DriveTypeCode = driveTypeCode;
    run.DriveTypeCaption = QStringLiteral("小型汽车");
    run.AppPath = FBank.AppPath();
    return FStore.Open(RecordStartOf(run, examineId, table, 45, int(questions.size())));
}

qint64 TRecordFixture::SitPaper(const QString &mode, const QString &scope, const std::vector<TPaperQuestion> &questions,
                                const QString &driveTypeCode)
{
    const qint64 examineId = FNextExamineId++;
    const qint64 recordId = StorePaper(mode, scope, examineId, questions, driveTypeCode);
    FStore.HandIn(recordId, PaperTableOf(mode), examineId, 600);
    return recordId;
}

qint64 TRecordFixture::SitMockExam(int score, int firstThemeId)
{
    std::vector<TPaperQuestion> questions;
    for (int i = 0; i < 10; ++i) {
        TPaperQuestion question;
        question.ThemeID = firstThemeId + i;
        question.Answer = i * 10 < score ? QStringLiteral("1") : QStringLiteral("2");
        question.Bit = 10;
        question.Chapter = 1 + i % 2;
        questions.push_back(question);
    }
    return SitPaper(QStringLiteral("3"), QString(), questions);
}
