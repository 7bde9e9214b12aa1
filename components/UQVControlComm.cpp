#include "UQVControlComm.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include "UMessageSeam.h"

void QVShowError(const QString &text)
{
    ShowMessageBox({QStringLiteral("错误"), text, TMsgIcon::Error, TMsgButtons::Ok});
}

QString QVGetField(const QString &text, int index, QChar separator)
{
    const QStringList fields = text.split(separator);
    if (index < 0 || index >= fields.size())
        return QString();
    QString field = fields.at(index);
    field.remove(QLatin1Char('\t'));
    return field.left(1025).trimmed();
}

int QVCountChar(const QString &text, QChar c)
{
    return int(text.count(c));
}

QString MaskTextToParseText(const QString &text, int mode)
{
    // Layout: yyyy年mm月dd日 hh:nn; positions 0-3 year, 5-6 month, 8-9 day.
    const QString padded = text.leftJustified(17, QLatin1Char(' '));
    const QString date = padded.mid(0, 4) + QLatin1Char('-') + padded.mid(5, 2) + QLatin1Char('-') + padded.mid(8, 2);
    switch (mode) {
    case mmDate: return date;
    case mmTime: return text + QStringLiteral(":00");
    case mmDateTime: return date + padded.mid(11, 6) + QStringLiteral(":00");
    default: return text;
    }
}

void QVSetBaseColor(QWidget *control, const QColor &color)
{
    if (control->palette().color(QPalette::Base) == color)
        return;
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Button, color);
    control->setPalette(palette);
}

void QVCenterOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
