#include "UPaperDraw.h"

#include <chrono>

#include "UDM.h"
#include "UDbError.h"
#include "UIniFile.h"
#include "UPaperError.h"
#include "UQuery.h"
#include "USqlText.h"

namespace {

std::unique_ptr<TQuery> NewQuery()
{
    auto query = std::make_unique<TQuery>();
    query->SetConnection(DM ? DM->ACon : nullptr);
    return query;
}

void OpenOn(TQuery &query, const QString &sql)
{
    query.Close();
    query.SetSQL(sql);
    query.Open();
}

// Part, chapter and type of a content row go into the candidate statement:
// they are read as numbers, so that a value that is not one fails the draw
// instead of becoming part of the statement.
QString KindNumber(TQuery &content, const QString &column)
{
    return QString::number(content.FieldByName(column)->ValueAsInteger());
}

} // namespace

QString MockExamTemplate(const QString &driveTypeCode)
{
    auto model = NewQuery();
    OpenOn(*model,
           QStringLiteral("Select * From T_Ks_Model Where IsUser=1 And DirvesType='") + QuoteSqlText(driveTypeCode)
               + QStringLiteral("'"));
    if (model->RecordCount() != 1)
        throw EPaperError(QStringLiteral("模板不存在或存在多个，请与管理员联系！"));
    const QString modelId = model->FieldByName(QStringLiteral("ModelID"))->AsString();
    model.reset();
    if (!CheckTemplate(modelId))
        throw EPaperError(QStringLiteral("编号为 ") + modelId + QStringLiteral(" 的模板检查不通过！"));
    return modelId;
}

QString DrawFailedText(const QString &modelId)
{
    return QStringLiteral("编号为 ") + modelId + QStringLiteral(" 的模板抽题失败！");
}

bool CheckTemplate(const QString &modelId)
{
    auto content = NewQuery();
    OpenOn(*content, QStringLiteral("Select * From T_Ks_ThemeModelContent Where ModelID=") + modelId);
    bool sound = true;
    int points = 0;
    for (content->First(); !content->Eof(); content->Next()) {
        if (content->FieldByName(QStringLiteral("ThemeCount"))->AsInteger()
            < content->FieldByName(QStringLiteral("SelectCount"))->AsInteger())
            sound = false;
        points += content->FieldByName(QStringLiteral("BitCount"))->AsInteger();
    }
    return sound && points == 100;
}

TPaperDraw::TPaperDraw(const QString &modelId)
    : FModelID(modelId),
      Qry(NewQuery()),
      Qry1(NewQuery())
{
}

TPaperDraw::~TPaperDraw() = default;

void TPaperDraw::DrawQuestions()
{
    try {
        DrawIntoThemeCfg();
    } catch (...) {
        // What was drawn before the error stays in the file.
        if (FThemeCfg) {
            try {
                WriteThemeCfg(*FThemeCfg);
            } catch (const std::exception &) {
                // The draw's own error is the one to report.
            }
        }
        throw;
    }
}

void TPaperDraw::DrawIntoThemeCfg()
{
    OpenOn(*Qry, QStringLiteral("Select * From T_KS_Model Where ModelID=") + FModelID);
    // A missing template head reads as NULL and fails here like a NULL flag.
    const bool fixedSelection = Qry->FieldByName(QStringLiteral("RandomTheme"))->ValueAsInteger() != 0;
    const int minutes = Qry->FieldByName(QStringLiteral("KSSJ"))->AsInteger();
    // A draw writes a fresh file, also over an old one that could not be deleted.
    FThemeCfg = std::make_unique<TIniFile>(TIniFile::Fresh(ThemeCfgFileName()));
    FThemeCfg->WriteString(QStringLiteral("System"), QStringLiteral("Time"), QString::number(minutes));

    OpenOn(*Qry,
           QStringLiteral("Select * From T_KS_ThemeModelContent Where ModelID=") + FModelID
               + QStringLiteral(" order by themeType"));
    Qry->First();
    FDrawnCount = 0;
    for (int row = 0; row < Qry->RecordCount(); ++row) {
        const QString part = KindNumber(*Qry, QStringLiteral("ThemePart"));
        const QString chapter = KindNumber(*Qry, QStringLiteral("ThemeChapter"));
        const QString type = KindNumber(*Qry, QStringLiteral("ThemeType"));
        const int available = Qry->FieldByName(QStringLiteral("ThemeCount"))->AsInteger();
        const int wanted = Qry->FieldByName(QStringLiteral("SelectCount"))->AsInteger();
        const int points = Qry->FieldByName(QStringLiteral("ThemeBit"))->AsInteger();
        if (wanted > 0) {
            OpenOn(*Qry1,
                   QStringLiteral("Select * From T_Ks_Theme Where ZT=1 and ThemePart=") + part
                       + QStringLiteral(" And ThemeChapter=") + chapter + QStringLiteral(" And ThemeType=") + type);
            Qry1->First();
            DrawRow(available, wanted, points, fixedSelection);
            Qry1->Close();
        }
        Qry->Next();
        Step();
    }
    Qry->Close();
    FThemeCfg->WriteString(QStringLiteral("System"), QStringLiteral("ThemeCount"), QString::number(FDrawnCount));
    WriteThemeCfg(*FThemeCfg);
}

void TPaperDraw::DrawRow(int available, int wanted, int points, bool fixedSelection)
{
    if (available <= wanted) {
        for (int i = 0; i < Qry1->RecordCount(); ++i) {
            ++FDrawnCount;
            RecordDrawnQuestion(points);
            Qry1->Next();
        }
    } else if (fixedSelection) {
        // With fewer candidates than wanted the last one stays current and
        // is recorded again for each remaining turn.
        for (int i = 0; i < wanted; ++i) {
            ++FDrawnCount;
            RecordDrawnQuestion(points);
            Qry1->Next();
        }
    } else {
        for (int i = 0; i < wanted; ++i) {
            ++FDrawnCount;
            DrawAtRandom(available, points);
        }
    }
}

void TPaperDraw::DrawAtRandom(int available, int points)
{
    // Seeded anew for every question from a clock fine enough that two
    // questions drawn in quick succession get different sequences.
    FRandom.seed(std::mt19937::result_type(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    // Offsets 0 … available: available + 1 values, the last two both
    // landing on the last candidate when the bank holds exactly available.
    std::uniform_int_distribution<int> offsets(0, available);
    TField *themeId = Qry1->FieldByName(QStringLiteral("ThemeID"));
    for (qint64 attempt = 0; attempt < MaxAttempts(available); ++attempt) {
        Qry1->First();
        Qry1->MoveBy(offsets(FRandom));
        if (NotYetDrawn(themeId->AsString())) {
            RecordDrawnQuestion(points);
            return;
        }
    }
    throw EDatabaseError(QStringLiteral("Too few questions to draw from for template %1").arg(FModelID));
}

void TPaperDraw::RecordDrawnQuestion(int points)
{
    const QString section = QString::number(FDrawnCount);
    const QString themeId = Qry1->FieldByName(QStringLiteral("ThemeID"))->AsString();
    FThemeCfg->WriteString(section, QStringLiteral("ThemeID"), themeId);
    FThemeCfg->WriteString(section, QStringLiteral("ThemeBit"), QString::number(points));
    Step();
    FDrawnThemeIDs << themeId;
}

std::unique_ptr<TIniFile> TPaperDraw::TakeDrawnPaper()
{
    return std::move(FThemeCfg);
}

bool TPaperDraw::NotYetDrawn(const QString &themeId) const
{
    return !FDrawnThemeIDs.contains(themeId, Qt::CaseInsensitive);
}

void TPaperDraw::Step()
{
    if (OnStep)
        OnStep();
}
