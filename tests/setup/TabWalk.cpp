#include "TabWalk.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

namespace {

bool IsControl(const QWidget *widget)
{
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QLineEdit *>(widget)
        || qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget)
        || qobject_cast<const QAbstractSlider *>(widget) || qobject_cast<const QAbstractItemView *>(widget)
        || qobject_cast<const QPlainTextEdit *>(widget) || qobject_cast<const QTextEdit *>(widget);
}

// A part a compound control owns and works itself: a combo or spin box's
// edit and buttons, a view's header, editors and scroll bars.
bool IsInnerPart(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *up = widget->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (qobject_cast<const QComboBox *>(up) || qobject_cast<const QAbstractSpinBox *>(up)
            || qobject_cast<const QAbstractItemView *>(up))
            return true;
        if (qobject_cast<const QScrollBar *>(widget) && qobject_cast<const QAbstractScrollArea *>(up))
            return true;
    }
    return false;
}

// Radio buttons of one parent, or of one button group, take one Tab stop.
const QObject *RadioGroupOf(const QRadioButton *radio)
{
    if (radio->group())
        return radio->group();
    return radio->autoExclusive() ? radio->parent() : nullptr;
}

QWidget *FocusTarget(QWidget *widget)
{
    while (widget && widget->focusProxy())
        widget = widget->focusProxy();
    return widget;
}

} // namespace

bool ShowActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

QList<QWidget *> TabWalk(QWidget *window, bool backwards, int limit)
{
    QList<QWidget *> walk;
    QWidget *start = QApplication::focusWidget();
    if (!start || start->window() != window)
        return walk;
    walk << start;
    for (int press = 0; press < limit; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        QWidget *now = QApplication::focusWidget();
        if (!now || now == start || now->window() != window)
            break;
        if (!walk.contains(now))
            walk << now;
    }
    return walk;
}

QList<QWidget *> KeyboardControls(QWidget *window)
{
    QList<QWidget *> controls;
    QList<const QObject *> radioGroups;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!IsControl(widget) || !widget->isVisibleTo(window) || !widget->isEnabled() || IsInnerPart(widget, window))
            continue;
        if (const auto *radio = qobject_cast<const QRadioButton *>(widget)) {
            const QObject *group = RadioGroupOf(radio);
            if (group && radioGroups.contains(group))
                continue;
            if (group)
                radioGroups << group;
        }
        controls << widget;
    }
    return controls;
}

bool Reached(const QList<QWidget *> &walk, QWidget *control)
{
    if (const auto *radio = qobject_cast<const QRadioButton *>(control); radio && RadioGroupOf(radio)) {
        return std::any_of(walk.begin(), walk.end(), [radio](const QWidget *widget) {
            const auto *other = qobject_cast<const QRadioButton *>(widget);
            return other && RadioGroupOf(other) == RadioGroupOf(radio);
        });
    }
    return walk.contains(control) || walk.contains(FocusTarget(control));
}

QString Described(const QList<QWidget *> &widgets)
{
    QStringList names;
    for (const QWidget *widget : widgets) {
        QString text;
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            text = button->text();
        names << QStringLiteral("%1 (%2 '%3')")
                     .arg(widget->objectName(), QString::fromLatin1(widget->metaObject()->className()), text);
    }
    return names.join(QStringLiteral(", "));
}
