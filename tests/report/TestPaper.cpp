#include "TestPaper.h"

#include <QRegularExpression>
#include <QSqlQuery>

#include "UDM.h"

void TTestPaper::AddRow(const QString &content, const QVariant &answer, const QString &result, int themeBit)
{
    QSqlQuery insert(FBank.Db());
    insert.prepare(QStringLiteral("INSERT INTO T_KS_ExamineTheme (ID, ExamineID, ThemeID, ThemePart, ThemeChapter, "
                                  "ThemeType, ThemeContent, ThemeResult, ThemeBit, AnswerResult, Yxx_St) "
                                  "VALUES (?, ?, ?, 1, 1, 2, ?, ?, ?, ?, '0')"));
    insert.addBindValue(FNextId);
    insert.addBindValue(ExamineID);
    insert.addBindValue(1000 + FNextId);
    insert.addBindValue(content);
    insert.addBindValue(result);
    insert.addBindValue(themeBit);
    insert.addBindValue(answer);
    insert.exec();
    ++FNextId;
}

void TTestPaper::AddRows(int count)
{
    for (int i = 0; i < count; ++i)
        AddRow(QStringLiteral("第%1题：在道路上驾驶机动车，应当遵守哪些规定？").arg(FNextId), QStringLiteral("1"),
               i % 3 == 0 ? QStringLiteral("2") : QStringLiteral("1"));
}

TQuery &TTestPaper::OpenResultQuery()
{
    FQuery = std::make_unique<TQuery>();
    FQuery->SetConnection(DM->ACon);
    FQuery->SetSQL(
        QStringLiteral("Select *,'' as OTZ From T_Ks_ExamineTheme where ExamineID=%1 order by id").arg(ExamineID));
    FQuery->Open();
    TQuery *query = FQuery.get();
    FQuery->FieldByName(QStringLiteral("OTZ"))->OnGetText = [query](const TField &, QString &text, bool) {
        const bool right = query->FieldByName(QStringLiteral("ThemeResult"))->AsString().toUpper()
            == query->FieldByName(QStringLiteral("AnswerResult"))->AsString().toUpper();
        text = right ? QStringLiteral("正确") : QStringLiteral("错误");
    };
    return *FQuery;
}

QString TTestPaper::TemplatePath()
{
    return QStringLiteral(EXAMORA_SOURCE_DIR "/data/TestMn.frf");
}

int PdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page(?!s)"));
    int count = 0;
    for (auto match = pageObject.globalMatch(QString::fromLatin1(pdf)); match.hasNext(); match.next())
        ++count;
    return count;
}
