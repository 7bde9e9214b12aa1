#include "QueryTestBank.h"

std::unique_ptr<TTestBank> MakeQueryTestBank()
{
    auto bank = std::make_unique<TTestBank>();
    bank->AddTheme(1, {{"TT", "01"}});
    bank->AddTheme(2, {{"TT", "01"}, {"ThemeType", 1}, {"ThemeSpareC", ""}, {"ThemeSpareD", ""}});
    bank->AddTheme(3, {{"TT", "02"}, {"ThemeChapter", 21}, {"ThemeType", 3}, {"ThemeResult", "134"}});
    bank->AddTheme(4, {{"ThemeChapter", 20}});
    bank->Exec("INSERT INTO T_KS_CHAPTER VALUES (1, '法规'), (20, '安全一'), (21, '安全二')");
    bank->AddModel(7, "001", 0, 45);
    bank->AddContent(7, 1, 1, 2, 1, 1, 1, 100);
    return bank;
}

void StorePaper(const TTestBank &bank, const QString &table, int examineId, const QList<int> &themeIds)
{
    int id = 1;
    for (int themeId : themeIds) {
        bank.Exec(QStringLiteral(
                      "INSERT INTO %1 (ID, ExamineID, ThemeID, ThemeType, ThemeContent, ThemeResult, ThemeBit) "
                      "SELECT %2, %3, ThemeID, ThemeType, ThemeContent, ThemeResult, 1 FROM T_KS_THEME WHERE ThemeID=%4")
                      .arg(table)
                      .arg(id++)
                      .arg(examineId)
                      .arg(themeId));
    }
}
