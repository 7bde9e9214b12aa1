#include "UMain.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QValidator>

#include "UAnswerSaver.h"
#include "UAnswerSheetPanel.h"
#include "UApplication.h"
#include "UComm.h"
#include "UExamAccessibility.h"
#include "UExamClock.h"
#include "UExamRecording.h"
#include "UExamWidgets.h"
#include "UFonts.h"
#include "UJpeg.h"
#include "UPaperLoad.h"
#include "UPaperStore.h"
#include "UQuery.h"
#include "UQuit.h"
#include "URecordStore.h"
#include "URegistry.h"
#include "UScreenFit.h"
#include "UScreenFitPlan.h"
#include "USelLxType.h"
#include "UTiming.h"
#include "UXtglLogin.h"

namespace {

constexpr int KBannerHeight = 54;
constexpr int KLeftWidth = 218;
constexpr int KRightWidth = 804;
constexpr int KAreaHeight = 629;
const QColor KTextColour(51, 51, 51);

QLabel *MakeLabel(QWidget *parent, const QString &name, const QFont &font, const QColor &colour)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(font);
    SetTextColour(label, colour);
    return label;
}

// Where the options and the picture stand for a question of a few lines, and
// how tall a question may grow before they make way no further: beyond that
// the text is cut so that the options stay above the answer bar.
constexpr int KOptionsTop = 157;
constexpr int KPictureTop = 146;
constexpr int KQuestionMaxHeight = 220;

// At most five characters can be typed; text set by the program (option
// clicks) is not limited, so that a repeated choice is still seen and rejected.
class TMaxLengthValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override { return input.size() <= 5 ? Acceptable : Invalid; }
};

const QString KPaperOpenedEmpty = QStringLiteral("试卷中没有试题，无法答题。");

// A cleared answer or flag is stored as the empty text: a null QString
// would reach the database as NULL.
void SetStoredText(TField *field, const QString &text)
{
    field->SetAsString(text.isNull() ? QStringLiteral("") : text);
}

} // namespace

TFrmMain::TFrmMain(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Examora"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(1022, 683);
    setFont(SongFont(13));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(234, 238, 244));
    setPalette(background);
    setAutoFillBackground(true);

    AQry = new TQuery(this);
    AQry->setObjectName(QStringLiteral("AQry"));
    QryModel = new TQuery(this);
    QryModel->setObjectName(QStringLiteral("QryModel"));
    Qry_Print = new TQuery(this);
    Qry_Print->setObjectName(QStringLiteral("Qry_Print"));
    connect(AQry, &TQuery::AfterScroll, this, &TFrmMain::AQryAfterScroll);
    connect(Qry_Print, &TQuery::AfterOpen, this, &TFrmMain::Qry_PrintAfterOpen);
    FClock = new TExamClock(this);
    connect(FClock, &TExamClock::Tick, this, &TFrmMain::ExamClockTick);
    FRecording = new TExamRecording(
        [this] {
            return TAnsweringState{FClock->SecondsLeft(), AnsweredCount(*AQry)};
        },
        this);
    connect(FClock, &TExamClock::Tick, FRecording, &TExamRecording::ClockTicked);

    TimerStart = new QTimer(this);
    TimerStart->setInterval(100);
    connect(TimerStart, &QTimer::timeout, this, &TFrmMain::TimerStartTimer);

    auto *banner = new TPicture(TPictureKind::Banner, QString(), this);
    banner->setGeometry(0, 0, width(), KBannerHeight);
    CreateLeftColumn();
    CreateRightArea();
    DescribeExamScreen(this);
    qApp->installEventFilter(this);
    FormCreate();
}

TFrmMain::~TFrmMain()
{
    qApp->removeEventFilter(this);
}

void TFrmMain::CreateLeftColumn()
{
    auto *column = new QWidget(this);
    column->setGeometry(0, KBannerHeight, KLeftWidth, KAreaHeight);
    (new TPicture(TPictureKind::SectionHeader, QStringLiteral("考生信息"), column))->setGeometry(0, 0, KLeftWidth, 43);
    Label5 = MakeLabel(column, QStringLiteral("Label5"), SongFont(15, true), KTextColour);
    Label5->setText(QStringLiteral("模拟/练习车型:"));
    Label5->move(4, 62);
    Label5->adjustSize();
    LabCylb = MakeLabel(column, QStringLiteral("LabCylb"), ClassNameFont(), KTextColour);
    LabCylb->setGeometry(32, 87, 180, 50);
    LabCylb->setWordWrap(true);
    LabCylb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    (new TPicture(TPictureKind::SectionHeader, QStringLiteral("计时"), column))->setGeometry(0, 153, KLeftWidth, 44);
    LabTime = MakeLabel(column, QStringLiteral("LabTime"), SongFont(15, true), KTextColour);
    LabTime->setGeometry(25, 209, 190, 22);
    (new TPicture(TPictureKind::SectionHeader, QStringLiteral("快速选题"), column))->setGeometry(0, 241, KLeftWidth, 44);
    Label2 = MakeLabel(column, QStringLiteral("Label2"), SongFont(12), QColor(224, 130, 0));
    Label2->setText(QStringLiteral("注：已做题为绿色，不确定题目为红色"));
    Label2->move(6, 291);
    Label2->adjustSize();

    Panel1 = new TAnswerSheetPanel(QRect(0, 309, KLeftWidth, 320), column);
    connect(Panel1, &TAnswerSheetPanel::QuestionChosen, this, &TFrmMain::AnswerSheetClick);
}

void TFrmMain::CreateRightArea()
{
    auto *area = new QWidget(this);
    area->setGeometry(KLeftWidth, KBannerHeight, KRightWidth, KAreaHeight);
    (new TPicture(TPictureKind::SectionHeader, QStringLiteral("试题信息"), area))->setGeometry(0, 0, KRightWidth, 43);

    LabContent = MakeLabel(area, QStringLiteral("LabContent"), SongFont(20, true), QColor(68, 85, 119));
    LabContent->setGeometry(30, 51, 745, 20);
    LabContent->setWordWrap(true);
    LabContent->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabType = MakeLabel(area, QStringLiteral("LabType"), SongFont(15, true), QColor(226, 134, 0));
    LabType->setGeometry(32, 92, 241, 15);

    ImgTheme = new QLabel(area);
    ImgTheme->setObjectName(QStringLiteral("ImgTheme"));
    ImgTheme->setGeometry(487, KPictureTop, 318, 223);
    ImgTheme->setScaledContents(true);

    Panel5 = new QWidget(area);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setGeometry(32, KOptionsTop, 454, 334);
    for (int i = 0; i < int(FOptionLabels.size()); ++i) {
        auto *label = new TClickLabel(Panel5);
        label->setObjectName(QStringLiteral("Lab") + QChar(u'A' + i));
        label->setFont(SongFont(20));
        SetTextColour(label, KTextColour);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setToolTip(QStringLiteral("单击本项，选择答案%1。").arg(i + 1));
        label->setGeometry(0, 0, Panel5->width(), label->fontMetrics().height());
        connect(label, &TClickLabel::Clicked, this, &TFrmMain::LabAClick);
        FOptionLabels[size_t(i)] = label;
    }
    // The explanation goes below the options and the picture, wherever they stand.
    LabNote = MakeLabel(area, QStringLiteral("LabNote"), SongFont(15), QColor(68, 85, 119));
    LabNote->setWordWrap(true);
    LabNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabNote->hide();
    CreateAnswerBar(area);
}

void TFrmMain::CreateAnswerBar(QWidget *rightArea)
{
    Panel3 = new QWidget(rightArea);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(0, KAreaHeight - 106, KRightWidth, 106);
    (new TPicture(TPictureKind::SectionHeader, QStringLiteral("答题区"), Panel3))->setGeometry(0, 0, KRightWidth - 173, 38);
    SpeedButton5 = new TFaceButton(QString(), QStringLiteral("退出系统"), QColor(196, 72, 60), Panel3);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setGeometry(KRightWidth - 173, 0, 173, 38);

    (new TPicture(TPictureKind::WordLabel, QStringLiteral("答案："), Panel3))->setGeometry(4, 60, 56, 24);
    Edit1 = new QLineEdit(Panel3);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(62, 60, 66, 24);
    Edit1->setFont(SongFont(16, true));
    Edit1->setValidator(new TMaxLengthValidator(Edit1));

    Panel9 = new QWidget(Panel3);
    Panel9->setObjectName(QStringLiteral("Panel9"));
    Panel9->setGeometry(136, 44, 122, 56);
    Label8 = MakeLabel(Panel9, QStringLiteral("Label8"), SongFont(13), KTextColour);
    Label8->setText(QStringLiteral("本题答题有效性"));
    Label8->move(0, 4);
    Label8->adjustSize();
    RGYxx = new TRadioGroup({QStringLiteral("确定"), QStringLiteral("不确定")}, Panel9);
    RGYxx->setObjectName(QStringLiteral("RGYxx"));
    // A pixel smaller than the label above, so that both choices fit the group.
    RGYxx->setFont(SongFont(12));
    RGYxx->setGeometry(0, 28, 122, 22);

    Label1 = MakeLabel(Panel3, QStringLiteral("Label1"), SongFont(16, true), QColor(255, 0, 0));
    Label1->setGeometry(258, 62, 272, 22);
    Label1->setText(QStringLiteral("正确答案："));
    Label1->hide();
    FAnswerSaver = new TAnswerSaver(AQry, Panel3, QRect(258, 40, 272, 20));

    const QColor navigation(52, 118, 196);
    SpeedButton1 = new TFaceButton(QStringLiteral("←"), QStringLiteral("上一题"), navigation, Panel3);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(532, 61, 86, 23);
    SpeedButton2 = new TFaceButton(QStringLiteral("→"), QStringLiteral("下一题"), navigation, Panel3);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(621, 61, 86, 23);
    SpeedButton3 = new TFaceButton(QStringLiteral("✓"), QStringLiteral("交卷"), QColor(36, 150, 84), Panel3);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setGeometry(710, 61, 86, 23);

    connect(Edit1, &QLineEdit::textChanged, this, &TFrmMain::Edit1Change);
    connect(RGYxx, &TRadioGroup::Click, this, &TFrmMain::RGYxxClick);
    connect(SpeedButton1, &QAbstractButton::clicked, this, &TFrmMain::SpeedButton1Click);
    connect(SpeedButton2, &QAbstractButton::clicked, this, &TFrmMain::SpeedButton2Click);
    connect(SpeedButton3, &QAbstractButton::clicked, this, &TFrmMain::SpeedButton3Click);
    connect(SpeedButton5, &QAbstractButton::clicked, this, &TFrmMain::SpeedButton5Click);
}

void TFrmMain::FormCreate()
{
    TSettingsRegistry registry;
    if (!RecordApplicationInfo(registry, QCoreApplication::applicationFilePath())) {
        RequestQuit();
        return;
    }
    {
        TFrmXtglLogin login;
        if (ExecModal(login) != 1) {
            RequestQuit();
            return;
        }
    }
    {
        TFrmSelLxType selLxType;
        if (ExecModal(selLxType) != 1) {
            RequestQuit();
            return;
        }
    }
    LogTiming("setup-dialogs-confirmed");
}

void TFrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Restoring the minimised window is no new start.
    if (event->spontaneous())
        return;
    if (const QScreen *desktop = screen())
        move(desktop->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    FormShow();
}

void TFrmMain::FormShow()
{
    FAnswering = false;
    TimerStart->stop();
    Panel3->setEnabled(false);
    LabTime->clear();
    LabContent->clear();
    LabCylb->setText(RunContext.DriveTypeCaption);
    LabType->clear();
    for (QLabel *label : FOptionLabels)
        label->clear();
    Label1->hide();
    LabNote->hide();
    FJudged.clear();
    FAwaitingJudgement = 0;
    FPracticeKind = PracticeKindOf(RunContext.PracticeMode);
    if (FPracticeKind != TPracticeKind::MockExam) {
        Label2->hide();
        Panel9->hide();
    }
    ImgTheme->clear();
    QCoreApplication::processEvents();
    TimerStart->start();
}

void TFrmMain::TimerStartTimer()
{
    TimerStart->stop();
    if (!LoadPaper(RunContext.CandidateIdNumber, RunContext.DriveTypeCode)) {
        RequestQuit();
        return;
    }
    // Every drawn question may have been missing from the bank: there is
    // nothing to answer, show or score then.
    if (AQry->IsEmpty()) {
        FAnswering = false;
        FRecording->Abandon(FExamineID, FClock->SecondsLeft());
        ShowError(KPaperOpenedEmpty);
        RequestQuit();
        return;
    }
    if (FPracticeKind != TPracticeKind::ChapterPractice)
        Panel1->Build(FQuestionCount);
    if (FResumed)
        ShowResumedAnswers();
    Panel3->setEnabled(true);
    // The progress windows of the loading took the activation with them.
    activateWindow();
    ShowQuestion();
    if (TimingEnabled()) {
        repaint();
        LogTiming("question-1-painted");
    }
    // A paper resumed after its time ran out is handed in as the clock would.
    if (FResumed && FClock->SecondsLeft() <= 0)
        ExamClockTick();
}

bool TFrmMain::LoadPaper(const QString &candidateIdNumber, const QString &driveTypeCode)
{
    if (const std::optional<TOpenRecord> open = FRecording->OfferResume())
        return ReopenPaper(*open);
    TPaperStore store(TPaperRequest::OfRun());
    // The clock and answering are opened before the loading lets the event queue run.
    store.OnPaperOpened = [this, &store] {
        FExamineID = store.FExamineID;
        FExamMinutes = store.FExamMinutes;
        FQuestionCount = store.FQuestionCount;
        FClock->SetSecondsLeft(FExamMinutes * 60);
        FAnswering = true;
    };
    if (!LoadExamPaper(store, AQry, candidateIdNumber, driveTypeCode))
        return false;
    FRecording->Open(FExamineID, FExamMinutes, FQuestionCount);
    return true;
}

bool TFrmMain::HasCurrentQuestion() const
{
    return AQry->Active() && !AQry->IsEmpty();
}

QString TFrmMain::CurrentText(const QString &column) const
{
    return AQry->FieldByName(column)->AsString();
}

void TFrmMain::ShowQuestion()
{
    if (!HasCurrentQuestion())
        return;
    const int id = AQry->FieldByName(QStringLiteral("ID"))->AsInteger();
    if (FAwaitingJudgement != 0 && FAwaitingJudgement != id)
        FJudged.insert(std::exchange(FAwaitingJudgement, 0));
    const QString typeLine = TypeLine(AQry->FieldByName(QStringLiteral("ThemeType"))->AsInteger());
    // Places are on the design grid, at the scale the window was fitted to its screen.
    const auto design = [scale = DesignScale(*this)](int length) { return ScaledLength(length, scale); };
    LabContent->resize(design(745), LabContent->height());
    const QString question = QuestionLine(CurrentText(QStringLiteral("ID")), CurrentText(QStringLiteral("ThemeContent")));
    LabContent->setText(TextWithinHeight(LabContent, question, design(KQuestionMaxHeight)));
    FitHeight(LabContent);
    LabType->move(design(32), LabContent->y() + LabContent->height() + design(12));
    LabType->setText(typeLine);
    // A question of many lines pushes the options and the picture down.
    const int shift = std::max(0, LabType->geometry().bottom() + 1 + design(8) - design(KOptionsTop));
    Panel5->setGeometry(design(32), design(KOptionsTop) + shift, design(454), design(334) - shift);
    ImgTheme->move(design(487), design(KPictureTop) + shift);

    int top = 0;
    for (size_t i = 0; i < FOptionLabels.size(); ++i) {
        QLabel *label = FOptionLabels[i];
        label->setGeometry(0, top, Panel5->width(), label->height());
        ShowOption(label, QStringLiteral("ThemeSpare") + QChar(u'A' + int(i)), QStringLiteral("%1、").arg(i + 1));
        if (FHandedIn)
            MarkOptionForReview(i);
        FitHeight(label);
        top = label->y() + label->height() + design(12);
    }

    // The previous question's picture goes first: a picture that cannot be
    // decoded is reported and the question is shown without one.
    ImgTheme->clear();
    const TField *image = AQry->FieldByName(QStringLiteral("ThemeImage"));
    if (!image->IsNull())
        RunGuarded([this, image] { ImgTheme->setPixmap(QPixmap::fromImage(DecodeJpeg(image->AsBytes()))); });
    ShowExplanation();
    Edit1->setFocus();
}

void TFrmMain::ShowOption(QLabel *label, const QString &column, const QString &prefix)
{
    // A NULL option is treated like an empty one: it is not offered.
    const QString text = CurrentText(column);
    if (!text.isEmpty()) {
        label->show();
        label->setText(prefix + text);
    } else {
        label->hide();
        label->clear();
    }
}

void TFrmMain::AQryAfterScroll()
{
    if (!HasCurrentQuestion())
        return;
    {
        // Bringing the entry in line with the row is no answer.
        const QSignalBlocker detached(Edit1);
        RGYxx->SetItemIndex(
            ValidityIndexOf(CurrentText(QStringLiteral("Yxx_St")), CurrentText(QStringLiteral("AnswerResult"))));
        Edit1->setText(CurrentText(QStringLiteral("AnswerResult")));
    }
    const QString rightAnswer = CurrentText(QStringLiteral("THEMERESULT"));
    if (FPracticeKind == TPracticeKind::MockExam)
        Label1->setText(CorrectAnswerLine(rightAnswer));
    else if (FAnswering)
        Label1->hide();
    else
        Label1->setText(PracticeFeedback(TrimEntry(Edit1->text()), rightAnswer));
}

QString TFrmMain::OfferedOptions() const
{
    QString numbers;
    for (size_t i = 0; i < FOptionLabels.size(); ++i) {
        if (!FOptionLabels[i]->isHidden())
            numbers += QChar(u'1' + int(i));
    }
    return numbers;
}

void TFrmMain::LabAClick(TClickLabel *sender)
{
    if (!FAnswering || !HasCurrentQuestion())
        return;
    const int type = AQry->FieldByName(QStringLiteral("ThemeType"))->AsInteger();
    const QString number = sender->text().left(1);
    if (type == 1 || type == 2)
        Edit1->setText(number);
    else if (type == 3)
        Edit1->setText(Edit1->text() + number);
}

void TFrmMain::Edit1Change()
{
    if (!HasCurrentQuestion() || FHandedIn)
        return;
    const QString entry = TrimEntry(Edit1->text());
    const int type = AQry->FieldByName(QStringLiteral("ThemeType"))->AsInteger();
    if (!entry.isEmpty() && !IsValidAnswerEntry(entry, type, OfferedOptions())) {
        // Emptying the entry runs this handler again, which clears the stored answer.
        Edit1->setText(QString());
        return;
    }
    const QString answer = NormalAnswer(entry);
    AQry->Edit();
    SetStoredText(AQry->FieldByName(QStringLiteral("AnswerResult")), answer);
    SetStoredText(AQry->FieldByName(QStringLiteral("Yxx_St")), ValidityFlag(answer, RGYxx->ItemIndex()));
    if (FAnswerSaver->Post())
        FRecording->AnswerCommitted();
    ShowAnswerState(answer);
    PlaceCaretAtEnd();
    if (FPracticeKind != TPracticeKind::MockExam)
        ShowPracticeVerdict(answer);
}

void TFrmMain::RGYxxClick()
{
    if (!HasCurrentQuestion())
        return;
    const QString stored = TrimEntry(CurrentText(QStringLiteral("AnswerResult")));
    // After hand-in the rows are gone from the database; AQry only serves the review.
    if (!FHandedIn) {
        AQry->Edit();
        SetStoredText(AQry->FieldByName(QStringLiteral("Yxx_St")), ValidityFlag(stored, RGYxx->ItemIndex()));
        FAnswerSaver->Post();
    }
    ShowAnswerState(stored);
    Edit1->setFocus();
}

void TFrmMain::ShowAnswerState(const QString &answer)
{
    Panel1->SetState(AQry->FieldByName(QStringLiteral("ID"))->AsInteger(), AnswerStateOf(answer, RGYxx->ItemIndex()));
}

void TFrmMain::AnswerSheetClick(int number)
{
    if (!AQry->Active())
        return;
    AQry->Locate(QStringLiteral("ID"), QString::number(number));
    ShowQuestion();
}

void TFrmMain::SpeedButton1Click()
{
    if (!AQry->Bof()) {
        AQry->Prior();
        ShowQuestion();
    }
    PlaceCaretAtEnd();
}

void TFrmMain::SpeedButton2Click()
{
    if (!AQry->Eof()) {
        AQry->Next();
        ShowQuestion();
    }
    PlaceCaretAtEnd();
}

void TFrmMain::PlaceCaretAtEnd()
{
    Edit1->setCursorPosition(int(TrimEntry(Edit1->text()).size()));
}

bool TFrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        // A key travels up from the focused control; the window takes it
        // once, at its first stop, and lets it go on.
        QWidget *first = QApplication::focusWidget() ? QApplication::focusWidget() : widget->window();
        if (widget == first && widget->window() == this)
            FormKeyDown(static_cast<QKeyEvent *>(event)->key());
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmMain::FormKeyDown(int key)
{
    // Nothing of the answer bar works before the paper is loaded.
    if (!Panel3->isEnabled())
        return;
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_Up: SpeedButton1Click(); break;
    case Qt::Key_PageDown:
    case Qt::Key_Down: SpeedButton2Click(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A multiple choice in practice is judged by the first Enter and left by the next.
        if (!TrimEntry(Edit1->text()).isEmpty() && !JudgeOnConfirm())
            SpeedButton2Click();
        break;
    case Qt::Key_Home:
        if (!FHandedIn)
            RGYxx->SetItemIndex(0);
        break;
    case Qt::Key_End:
        if (!FHandedIn)
            RGYxx->SetItemIndex(1);
        break;
    case Qt::Key_Insert: SpeedButton3Click(); break;
    case Qt::Key_Escape: SpeedButton5Click(); break;
    default: break;
    }
}
