#include "UAnswerSheetPanel.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyle>

#include "UAnswerSheet.h"
#include "UExamWidgets.h"
#include "UScreenFit.h"
#include "UScreenFitPlan.h"

TSheetButton::TSheetButton(int number, QWidget *parent)
    : QPushButton(QString::number(number), parent)
{
}

void TSheetButton::SetMark(const QString &mark)
{
    FMark = mark;
    update();
}

void TSheetButton::SetStateSign(const QString &sign)
{
    FStateSign = sign;
    update();
}

void TSheetButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    // In review the verdict takes the corner: the state is known by then.
    const QString sign = FMark.isEmpty() ? FStateSign : FMark;
    if (sign.isEmpty())
        return;
    QPainter painter(this);
    // The signs come from the plain sans face: in the serif face of the
    // numbers they are too thin to read at this size.
    QFont small = QGuiApplication::font();
    small.setPixelSize(font().pixelSize() > 0 ? qMax(9, font().pixelSize() * 5 / 6) : 11);
    small.setBold(true);
    painter.setFont(small);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(rect().adjusted(0, -1, 0, 0), Qt::AlignRight | Qt::AlignTop, sign);
}

TAnswerSheetPanel::TAnswerSheetPanel(const QRect &geometry, QWidget *parent)
    : QScrollArea(parent),
      FContent(new TPicture(TPictureKind::SheetBackground, QString()))
{
    setObjectName(QStringLiteral("Panel1"));
    setGeometry(geometry);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::NoFocus);
    FContent->resize(size());
    setWidget(FContent);
}

void TAnswerSheetPanel::Build(int questionCount)
{
    for (TSheetButton *button : FButtons)
        delete button;
    FButtons.clear();
    // The sheet is laid out on the design grid and scaled with the window.
    const qreal scale = DesignScale(*this);
    const int scrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const TAnswerSheetLayout layout = AnswerSheetLayout(questionCount, ScaledSize(size(), 1 / scale),
                                                        ScaledLength(scrollBarWidth, 1 / scale));
    FContent->resize(ScaledSize(layout.ContentSize, scale));
    setVerticalScrollBarPolicy(layout.Scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    for (size_t i = 0; i < layout.Buttons.size(); ++i) {
        FButtons.push_back(MakeButton(int(i) + 1, ScaledRect(layout.Buttons[i], scale)));
        SetState(int(i) + 1, asUnanswered);
    }
}

TSheetButton *TAnswerSheetPanel::MakeButton(int number, const QRect &place)
{
    auto *button = new TSheetButton(number, FContent);
    button->setObjectName(QStringLiteral("AutoBtn%1").arg(number));
    button->setGeometry(place);
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    // No hover tint either: a tinted button would read as the current question.
    button->setStyleSheet(QStringLiteral("QPushButton { background: transparent; border: none; padding: 0; }"));
    connect(button, &QPushButton::clicked, this, [this, number] { emit QuestionChosen(number); });
    button->show();
    return button;
}

TSheetButton *TAnswerSheetPanel::Button(int number) const
{
    return number >= 1 && number <= int(FButtons.size()) ? FButtons[size_t(number - 1)] : nullptr;
}

void TAnswerSheetPanel::Paint(TSheetButton *button, const QColor &colour, bool bold, const QString &words)
{
    QFont font = button->font();
    font.setBold(bold);
    button->setFont(font);
    SetTextColour(button, colour);
    button->setAccessibleName(words);
    button->setToolTip(words);
}

void TAnswerSheetPanel::SetState(int number, TAnswerState state)
{
    TSheetButton *button = Button(number);
    if (!button)
        return;
    static const QColor colours[3] = {QColor(102, 102, 102), QColor(255, 25, 0), QColor(3, 150, 0)};
    Paint(button, colours[state], state != asUnanswered, AnswerStateDescription(number, state));
    button->SetStateSign(AnswerStateSign(state));
}

void TAnswerSheetPanel::ShowReviewMark(int number, TReviewMark mark)
{
    TSheetButton *button = Button(number);
    if (!button)
        return;
    static const QColor colours[3] = {QColor(3, 150, 0), QColor(220, 20, 0), QColor(102, 102, 102)};
    Paint(button, colours[int(mark)], mark != TReviewMark::Unanswered, ReviewDescription(number, mark));
    button->SetMark(ReviewSign(mark));
    button->setAccessibleDescription(ReviewDescription(number, mark));
}
