#pragma once

#include <QList>
#include <QString>

class QWidget;

// Tab as a keyboard user presses it, for the form tests of every window.

// Shows the window and makes it the active one, its focus where it puts it.
bool ShowActive(QWidget *window);

// The widgets that get the focus when Tab is pressed on the focused widget
// again and again, from the window's focus widget until the focus comes
// round to it (at most limit presses): each one once, in the order visited.
// Shift+Tab walks backwards.
QList<QWidget *> TabWalk(QWidget *window, bool backwards = false, int limit = 80);

// The controls of a window a keyboard user must reach: the visible, enabled
// buttons, edits, lists, spin boxes, sliders, item views and text areas,
// with one radio button of each exclusive group and none of the inner
// parts of a compound control (the edit of a combo or spin box, a view's
// header and scroll bars).
QList<QWidget *> KeyboardControls(QWidget *window);

// Whether the focus came to control, or to the widget it hands its focus
// to; for a radio button, to any of its group (Tab stops once in a group,
// its arrows move the choice).
bool Reached(const QList<QWidget *> &walk, QWidget *control);

// "name (Class 'text')" of each widget, for the message of a failed check.
QString Described(const QList<QWidget *> &widgets);
