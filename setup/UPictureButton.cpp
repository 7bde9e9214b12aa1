#include "UPictureButton.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>

#include "UFonts.h"

TPictureButton::TPictureButton(const QString &word, QWidget *parent)
    : QAbstractButton(parent),
      FWord(word)
{
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab and showing the focus, as a push button would.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(word);
}

void TPictureButton::keyPressEvent(QKeyEvent *event)
{
    // Enter on a focused button presses it, as on the dialog's push buttons.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void TPictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    const bool down = isDown();
    gradient.setColorAt(0, down ? QColor(170, 205, 235) : QColor(236, 245, 253));
    gradient.setColorAt(1, down ? QColor(196, 222, 244) : QColor(184, 214, 240));
    painter.setPen(QColor(102, 148, 196));
    painter.setBrush(gradient);
    painter.drawRoundedRect(face, 3, 3);
    painter.setFont(SongFont(13, true));
    painter.setPen(QColor(24, 62, 112));
    // The two characters stand apart, as on the original button pictures.
    QString spaced;
    for (const QChar c : FWord)
        spaced += spaced.isEmpty() ? QString(c) : QStringLiteral("  ") + c;
    painter.drawText(rect(), Qt::AlignCenter, spaced);
    if (hasFocus()) {
        painter.setPen(QPen(QColor(24, 62, 112), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(face.adjusted(2, 2, -2, -2), 2, 2);
    }
}
