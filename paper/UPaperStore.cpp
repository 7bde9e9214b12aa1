#include "UPaperStore.h"

#include <algorithm>
#include <limits>
#include <vector>

#include <QFile>
#include <QHash>

#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "UDbError.h"
#include "UEngineErrorText.h"
#include "UIniFile.h"
#include "UPaperError.h"
#include "UQuery.h"
#include "USqlText.h"
#include "UThemeCfg.h"
#include "UWriteTransaction.h"

namespace {

const QString KSetPractice = QStringLiteral("1");
const QString KChapterPractice = QStringLiteral("2");

// The bank columns a paper row copies, in the order they are written.
const char *const KCopiedColumns[] = {
    "ThemeID",     "ThemePart",   "ThemeChapter", "ThemeType",   "ThemeContent", "ThemeImage",  "ThemeSpareA",
    "ThemeSpareB", "ThemeSpareC", "ThemeSpareD",  "ThemeSpareE", "ThemeSpareF",  "ThemeResult",
};

TConnection *Connection()
{
    if (!DM)
        throw EDatabaseError(QStringLiteral("数据库连接没有打开。"));
    return DM->ACon;
}

void OpenOn(TQuery &query, const QString &sql)
{
    query.Close();
    query.SetConnection(Connection());
    query.SetSQL(sql);
    query.Open();
}

// Settings values and paper numbers must be whole decimal numbers; anything
// else stops the storing like a database error.
qint64 StrictLargeInteger(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok)
        throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

int StrictInteger(const QString &text)
{
    const qint64 value = StrictLargeInteger(text);
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return int(value);
}

// A bank that takes no writes fails on any question: not the question but
// the file is the news. Empty for every other error.
QString ReadOnlyBankText(const std::exception &error)
{
    const auto *engineError = dynamic_cast<const EDatabaseError *>(&error);
    if (!engineError || !engineError->CannotWrite())
        return QString();
    return BankNotWritableText(Connection()->Database().databaseName(), engineError->Fault(),
                               QStringLiteral("无法保存试卷。"));
}

int CountOf(const QString &sql)
{
    TQuery query;
    OpenOn(query, sql);
    return query.Fields(0)->AsInteger();
}

// The bank's rows by ThemeID, indexed once instead of scanning the bank for
// every drawn question. A question is found as Locate finds it: the first
// row whose ThemeID reads as the text, without regard to case.
class TThemeIndex
{
public:
    explicit TThemeIndex(TQuery &bank)
    {
        const int column = bank.FieldByName(QStringLiteral("ThemeID"))->Index();
        for (int row = 0; row < bank.RecordCount(); ++row) {
            const QVariant value = bank.RowValue(row, column);
            if (value.isNull())
                continue;
            // Whole numbers read as their decimal text: kept as numbers, so
            // that a bank of any size is indexed without making texts.
            if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
                FByNumber.emplace_back(value.toLongLong(), row);
            else if (!FByText.contains(TextOf(value).toLower()))
                FByText.insert(TextOf(value).toLower(), row);
        }
        // Sorted by number, then row: the first of equal numbers is the first row.
        if (!std::is_sorted(FByNumber.begin(), FByNumber.end()))
            std::sort(FByNumber.begin(), FByNumber.end());
    }

    // The row of the question, or -1.
    int RowOf(const QString &themeId) const
    {
        if (themeId.isEmpty())
            return -1;
        int row = FByText.value(themeId.toLower(), -1);
        bool isNumber = false;
        const qint64 number = themeId.toLongLong(&isNumber);
        if (isNumber && QString::number(number) == themeId) {
            const auto found = std::lower_bound(FByNumber.begin(), FByNumber.end(), std::make_pair(number, 0));
            if (found != FByNumber.end() && found->first == number && (row < 0 || found->second < row))
                row = found->second;
        }
        return row;
    }

private:
    static QString TextOf(const QVariant &value)
    {
        return value.typeId() == QMetaType::QByteArray ? QString::fromUtf8(value.toByteArray()) : value.toString();
    }

    std::vector<std::pair<qint64, int>> FByNumber;
    QHash<QString, int> FByText;
};

} // namespace

TPaperRequest TPaperRequest::OfRun()
{
    return {RunContext.PracticeMode, RunContext.PracticeScope, RunContext.ChapterFilter, RunContext.DriveTypeCaption};
}

TPaperProgress &TPaperProgress::Unseen()
{
    static TPaperProgress unseen;
    return unseen;
}

TPaperStore::TPaperStore(const TPaperRequest &request)
    : QryModel(new TQuery),
      FRequest(request)
{
}

TPaperStore::~TPaperStore()
{
    delete QryModel;
}

bool TPaperStore::LoadPaper(TQuery *paperQuery, TPaperProgress &progress)
{
    if (IsPracticeMode(FRequest.PracticeMode))
        CheckPracticeQuestions();
    if (!SavePaper(progress))
        return false;
    if (!OpenQuery(paperQuery,
                   QStringLiteral("Select * From ") + PaperTable() + QStringLiteral(" Where ExamineID=")
                       + QString::number(FExamineID) + QStringLiteral(" Order By ID")))
        throw EPaperError(QStringLiteral("打开试题错误！"));
    // Read whole now: after hand-in the rows are deleted but still reviewed.
    paperQuery->FetchAll();
    if (OnPaperOpened)
        OnPaperOpened();
    return true;
}

void TPaperStore::CheckPracticeQuestions()
{
    if (FRequest.PracticeMode == KSetPractice) {
        OpenOn(*QryModel,
               QStringLiteral("select * from T_KS_THEME where TT='") + QuoteSqlText(FRequest.PracticeScope)
                   + QStringLiteral("'") + QStringLiteral(" and ") + FRequest.ChapterFilter);
        if (QryModel->IsEmpty())
            throw EPaperError(QStringLiteral("类别为") + FRequest.DriveTypeCaption + QStringLiteral("，试卷编号为")
                              + FRequest.PracticeScope + QStringLiteral("的试卷未找到。"));
    } else {
        OpenOn(*QryModel,
               QStringLiteral("select * from T_KS_THEME where THEMECHAPTER=") + FRequest.PracticeScope
                   + QStringLiteral(" and ") + FRequest.ChapterFilter);
        if (QryModel->IsEmpty())
            throw EPaperError(QStringLiteral("类别为") + FRequest.DriveTypeCaption + QStringLiteral("的试卷未找到。"));
    }
}

bool TPaperStore::SavePaper(TPaperProgress &progress)
{
    TWriteTransaction transaction(Connection(), NumberedTable());
    FQuestionCurrent = false;
    // This run's own draw needs no file: another copy of the program in the
    // folder may have deleted it for its own draw meanwhile.
    if (!IsPracticeMode(FRequest.PracticeMode) && !FDrawnPaper && !QFile::exists(ThemeCfgFileName()))
        return false;

    progress.Begin();
    // What the paper is made of is read first: a server's numbering lock is
    // then held only while the rows are written.
    std::vector<TPaperRowSource> sources;
    try {
        sources = ReadPaperSources(progress);
    } catch (const std::exception &error) {
        throw SaveFailure(transaction, error, progress);
    }
    try {
        transaction.LockNumbering();
        FExamineID = NextExamineID();
    } catch (...) {
        progress.End();
        throw;
    }
    try {
        CopyPaper(sources, progress);
        transaction.Commit();
    } catch (const std::exception &error) {
        throw SaveFailure(transaction, error, progress);
    }
    progress.End();
    return true;
}

EPaperError TPaperStore::SaveFailure(TWriteTransaction &transaction, const std::exception &error,
                                     TPaperProgress &progress) const
{
    transaction.Rollback();
    QString message = ReadOnlyBankText(error);
    if (message.isEmpty())
        message = SaveErrorText() + QStringLiteral("保存试题出错！");
    // A window showing the progress stays on top: gone first, it cannot
    // cover the message.
    progress.End();
    return EPaperError(message);
}

std::vector<TPaperRowSource> TPaperStore::ReadPaperSources(TPaperProgress &progress)
{
    const bool mockExam = !IsPracticeMode(FRequest.PracticeMode);
    std::unique_ptr<TIniFile> themeCfg;
    const TIniFile *drawnPaper = FDrawnPaper.get();
    if (mockExam && !drawnPaper) {
        themeCfg = std::make_unique<TIniFile>(ThemeCfgFileName());
        drawnPaper = themeCfg.get();
    }
    ReadExamSize(drawnPaper);
    progress.SetMaximum(FQuestionCount);
    OpenQuestionSource();
    return mockExam ? DrawnQuestionSources(*drawnPaper) : std::vector<TPaperRowSource>();
}

void TPaperStore::CopyPaper(const std::vector<TPaperRowSource> &sources, TPaperProgress &progress)
{
    TQuery target;
    OpenOn(target,
           QStringLiteral("Select * From ") + PaperTable() + QStringLiteral(" where ExamineID=")
               + QString::number(FExamineID));
    if (!IsPracticeMode(FRequest.PracticeMode))
        CopyDrawnQuestions(sources, target, progress);
    else
        CopyPracticeQuestions(target, progress);
    target.Close();
    QryModel->Close();
}

void TPaperStore::ReadExamSize(const TIniFile *drawnPaper)
{
    if (FRequest.PracticeMode == KSetPractice) {
        FExamMinutes = 180;
        FQuestionCount = CountOf(QStringLiteral("select Count(*) from T_KS_THEME where TT='")
                                 + QuoteSqlText(FRequest.PracticeScope) + QStringLiteral("'") + QStringLiteral(" and ")
                                 + FRequest.ChapterFilter);
    } else if (FRequest.PracticeMode == KChapterPractice) {
        FExamMinutes = 480;
        FQuestionCount = CountOf(QStringLiteral("select Count(*) from T_KS_THEME where THEMECHAPTER=")
                                 + FRequest.PracticeScope);
    } else {
        FExamMinutes = StrictInteger(
            drawnPaper->ReadString(QStringLiteral("System"), QStringLiteral("Time"), QStringLiteral("60")));
        FQuestionCount = StrictInteger(
            drawnPaper->ReadString(QStringLiteral("System"), QStringLiteral("ThemeCount"), QStringLiteral("0")));
    }
}

void TPaperStore::OpenQuestionSource()
{
    QString sql;
    if (FRequest.PracticeMode == KSetPractice)
        sql = QStringLiteral("select * from T_KS_THEME where TT='") + QuoteSqlText(FRequest.PracticeScope)
            + QStringLiteral("'") + QStringLiteral(" and ") + FRequest.ChapterFilter;
    else if (FRequest.PracticeMode == KChapterPractice)
        sql = QStringLiteral("select * from T_KS_THEME where THEMECHAPTER=") + FRequest.PracticeScope;
    else
        sql = QStringLiteral("Select * From T_Ks_Theme");
    OpenOn(*QryModel, sql);
}

void TPaperStore::CopyPracticeQuestions(TQuery &target, TPaperProgress &progress)
{
    QryModel->First();
    FQuestionCurrent = true;
    for (int k = 0; k < FQuestionCount; ++k) {
        // Every practice question counts one point, so the set-practice
        // score is the number of questions answered right.
        AppendPaperRow(target, k + 1, QStringLiteral("1"));
        progress.StepIt();
        QryModel->Next();
    }
}

std::vector<TPaperRowSource> TPaperStore::DrawnQuestionSources(const TIniFile &themeCfg)
{
    const TThemeIndex bank(*QryModel);
    TField *themeIdField = QryModel->FieldByName(QStringLiteral("ThemeID"));
    std::vector<TPaperRowSource> sources;
    for (int n = 1; n <= FQuestionCount; ++n) {
        const QString section = QString::number(n);
        TPaperRowSource source{bank.RowOf(themeCfg.ReadString(section, QStringLiteral("ThemeID"), QStringLiteral("-1"))),
                               themeCfg.ReadString(section, QStringLiteral("ThemeBit"), QStringLiteral("0")),
                               themeCfg.ReadString(section, QStringLiteral("ThemeBit"), QStringLiteral("1"))};
        if (source.Row >= 0) {
            QryModel->First();
            QryModel->MoveBy(source.Row);
            FQuestionCurrent = true;
            source.Deleted = !ThemeExists(themeIdField->AsInteger());
            // A picture left on a server is fetched now, not while the rows are written.
            QryModel->FieldByName(QStringLiteral("ThemeImage"))->Value();
        }
        sources.push_back(source);
    }
    FQuestionCurrent = false;
    return sources;
}

void TPaperStore::CopyDrawnQuestions(const std::vector<TPaperRowSource> &sources, TQuery &target, TPaperProgress &progress)
{
    QryModel->First();
    int id = 1;
    for (const TPaperRowSource &source : sources) {
        StrictInteger(source.CheckedBit);
        if (source.Row >= 0) {
            QryModel->First();
            QryModel->MoveBy(source.Row);
            FQuestionCurrent = true;
            // A question deleted since the draw takes no number and no step.
            if (source.Deleted)
                continue;
            AppendPaperRow(target, id++, source.ThemeBit);
        }
        progress.StepIt();
    }
}

void TPaperStore::AppendPaperRow(TQuery &target, int id, const QString &themeBit)
{
    target.Append();
    target.FieldByName(QStringLiteral("ID"))->SetAsString(QString::number(id));
    target.FieldByName(QStringLiteral("ExamineID"))->SetValue(FExamineID);
    for (const char *column : KCopiedColumns) {
        const QString name = QLatin1String(column);
        target.FieldByName(name)->SetValue(QryModel->FieldByName(name)->Value());
    }
    target.FieldByName(QStringLiteral("ThemeBit"))->SetAsString(themeBit);
    target.Post();
}

qint64 TPaperStore::NextExamineID()
{
    TQuery query;
    OpenOn(query, QStringLiteral("Select Max(ExamineID) From ") + NumberedTable());
    const QString largest = query.Fields(0)->AsString().trimmed();
    if (largest.isEmpty())
        return 1;
    const qint64 number = StrictLargeInteger(largest);
    if (number == std::numeric_limits<qint64>::max())
        throw EDatabaseError(QStringLiteral("试卷编号已用尽：最大的试卷编号为 %1。").arg(number));
    return number + 1;
}

bool TPaperStore::ThemeExists(int themeId)
{
    const std::unique_ptr<TQuery> query(
        CreateOpenQuery(QStringLiteral("Select ThemeID From T_KS_THEME where ThemeID=") + QString::number(themeId)));
    return query && !query->IsEmpty();
}

QString TPaperStore::NumberedTable() const
{
    return IsPracticeMode(FRequest.PracticeMode) ? QStringLiteral("T_KS_ExamineTheme_TT")
                                                 : QStringLiteral("T_KS_ExamineTheme");
}

QString TPaperStore::PaperTable() const
{
    return IsPracticeMode(FRequest.PracticeMode) ? QStringLiteral("T_Ks_ExamineTheme_TT")
                                                 : QStringLiteral("T_Ks_ExamineTheme");
}

QString TPaperStore::SaveErrorText() const
{
    // Before a question is being copied the message names none, rather
    // than a presence-check row or whichever bank row happens to be first.
    if (!FQuestionCurrent || !QryModel->Active() || QryModel->IsEmpty())
        return QString();
    return QryModel->FieldByName(QStringLiteral("ThemeID"))->AsString();
}
