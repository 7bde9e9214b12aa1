#include "UExamWidgets.h"

#include <QButtonGroup>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>

#include "UFonts.h"
#include "UScreenFit.h"

QFont ClassNameFont()
{
    QFont font = SongFont(13, true);
    // A share of the letters' width, so that it holds at every scale of the window.
    font.setLetterSpacing(QFont::PercentageSpacing, 95);
    return font;
}

namespace {

// The pictures are drawn on the design grid: in a window scaled to fit its
// screen the painter scales them, text included, as sharply as the rest.
QRect DesignArea(QPainter &painter, const QWidget &widget)
{
    const qreal scale = DesignScale(widget);
    painter.scale(scale, scale);
    return QRect(QPoint(0, 0), (QSizeF(widget.size()) / scale).toSize());
}

} // namespace

void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

QString TextWithinHeight(const QLabel *label, const QString &text, int maxHeight)
{
    const auto fits = [label, maxHeight](const QString &candidate) {
        return label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1 << 24), Qt::TextWordWrap, candidate).height()
            <= maxHeight;
    };
    if (fits(text))
        return text;
    const QString ellipsis = QStringLiteral("……");
    qsizetype shortest = 0, longest = text.size();
    while (shortest < longest) {
        const qsizetype middle = (shortest + longest + 1) / 2;
        if (fits(text.left(middle) + ellipsis))
            shortest = middle;
        else
            longest = middle - 1;
    }
    return text.left(shortest) + ellipsis;
}

void FitHeight(QLabel *label)
{
    const int height = label->text().isEmpty() ? label->fontMetrics().height() : label->heightForWidth(label->width());
    label->resize(label->width(), height);
}

TClickLabel::TClickLabel(QWidget *parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked(this);
}

TRadioGroup::TRadioGroup(const QStringList &items, QWidget *parent)
    : QWidget(parent),
      FGroup(new QButtonGroup(this))
{
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new QRadioButton(items.at(i), this);
        // The answer entry keeps the focus; the keys of the window move the choice.
        radio->setFocusPolicy(Qt::NoFocus);
        FGroup->addButton(radio, i);
    }
    FGroup->button(0)->setChecked(true);
    connect(FGroup, &QButtonGroup::idClicked, this, &TRadioGroup::ItemClicked);
}

void TRadioGroup::resizeEvent(QResizeEvent *event)
{
    // Side by side at the width their text needs in the group's font, as
    // tall as the group, which the design makes lower than Qt's hint.
    int left = 0;
    for (QAbstractButton *radio : FGroup->buttons()) {
        const int width = radio->sizeHint().width();
        radio->setGeometry(left, 0, width, height());
        left += width + 2;
    }
    QWidget::resizeEvent(event);
}

QRadioButton *TRadioGroup::Item(int index) const
{
    return static_cast<QRadioButton *>(FGroup->button(index));
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index == FItemIndex || !FGroup->button(index))
        return;
    FItemIndex = index;
    FGroup->button(index)->setChecked(true);
    emit Click();
}

void TRadioGroup::ItemClicked(int index)
{
    if (index == FItemIndex)
        return;
    FItemIndex = index;
    emit Click();
}

TPicture::TPicture(TPictureKind kind, const QString &word, QWidget *parent)
    : QWidget(parent),
      FKind(kind),
      FWord(word)
{
    setAccessibleName(word);
}

void TPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = DesignArea(painter, *this);
    switch (FKind) {
    case TPictureKind::Banner: PaintBanner(painter, area); break;
    case TPictureKind::SectionHeader: PaintSectionHeader(painter, area); break;
    case TPictureKind::WordLabel: PaintWordLabel(painter, area); break;
    case TPictureKind::SheetBackground: PaintSheetBackground(painter, area); break;
    }
}

void TPicture::PaintBanner(QPainter &painter, const QRect &area)
{
    constexpr int logoWidth = 236;
    const QRect title(0, 0, area.width() - logoWidth, area.height());
    const QRect logo(area.width() - logoWidth, 0, logoWidth, area.height());
    QLinearGradient band(0, 0, 0, area.height());
    band.setColorAt(0, QColor(36, 98, 176));
    band.setColorAt(1, QColor(20, 70, 138));
    painter.fillRect(area, band);
    painter.setFont(SongFont(24, true));
    painter.setPen(Qt::white);
    painter.drawText(title.adjusted(24, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("机动车驾驶人理论考试模拟系统"));

    // The logo: a steering wheel beside the program's name.
    QLinearGradient logoBand(logo.topLeft(), logo.topRight());
    logoBand.setColorAt(0, QColor(20, 70, 138, 0));
    logoBand.setColorAt(1, QColor(12, 48, 100));
    painter.fillRect(logo, logoBand);
    const QPointF centre(logo.left() + 48, logo.center().y() + 0.5);
    painter.setPen(QPen(QColor(255, 214, 90), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 17, 17);
    painter.drawEllipse(centre, 4, 4);
    painter.drawLine(centre + QPointF(-17, 0), centre + QPointF(-4, 0));
    painter.drawLine(centre + QPointF(17, 0), centre + QPointF(4, 0));
    painter.drawLine(centre + QPointF(0, 4), centre + QPointF(0, 17));
    QFont name(QStringLiteral("Noto Sans CJK SC"));
    name.setPixelSize(24);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(Qt::white);
    painter.drawText(logo.adjusted(76, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Examora"));
}

void TPicture::PaintSectionHeader(QPainter &painter, const QRect &area)
{
    QLinearGradient band(0, 0, 0, area.height());
    band.setColorAt(0, QColor(250, 252, 255));
    band.setColorAt(1, QColor(214, 226, 242));
    painter.fillRect(area, band);
    painter.setPen(QColor(176, 196, 222));
    painter.drawLine(0, area.height() - 1, area.width(), area.height() - 1);
    painter.fillRect(QRect(12, area.height() / 2 - 8, 5, 16), QColor(36, 98, 176));
    painter.setFont(SongFont(16, true));
    painter.setPen(QColor(28, 60, 110));
    painter.drawText(area.adjusted(26, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, FWord);
}

void TPicture::PaintWordLabel(QPainter &painter, const QRect &area)
{
    painter.setFont(SongFont(16, true));
    painter.setPen(QColor(28, 60, 110));
    painter.drawText(area, Qt::AlignCenter, FWord);
}

void TPicture::PaintSheetBackground(QPainter &painter, const QRect &area)
{
    painter.fillRect(area, QColor(246, 248, 252));
    painter.setPen(QColor(206, 216, 230));
    painter.drawRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5));
}

TFaceButton::TFaceButton(const QString &sign, const QString &word, const QColor &tint, QWidget *parent)
    : QAbstractButton(parent),
      FSign(sign),
      FWord(word),
      FTint(tint)
{
    setCursor(Qt::PointingHandCursor);
    // The answer entry keeps the input focus while the candidate works.
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(sign.isEmpty() ? word : sign + QLatin1Char(' ') + word);
}

void TFaceButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = DesignArea(painter, *this);
    const QRectF face = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor top = FTint.lighter(isDown() ? 105 : 135);
    QColor bottom = FTint.darker(isDown() ? 120 : 100);
    if (!isEnabled()) {
        top = QColor(226, 229, 234);
        bottom = QColor(200, 205, 212);
    }
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setPen(isEnabled() ? FTint.darker(140) : QColor(176, 182, 190));
    painter.setBrush(gradient);
    painter.drawRoundedRect(face, 4, 4);
    painter.setFont(SongFont(area.height() > 30 ? 16 : 13, true));
    painter.setPen(isEnabled() ? Qt::white : QColor(130, 136, 146));
    const QString text = FSign.isEmpty() ? FWord : FSign + QLatin1Char(' ') + FWord;
    painter.drawText(area, Qt::AlignCenter, text);
}
