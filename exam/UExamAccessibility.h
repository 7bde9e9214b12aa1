#pragma once

#include <QString>

class QWidget;

// Gives the exam screen's controls the names and descriptions a screen
// reader speaks, and keeps the clock's description on the minutes left.
// Called once, after the screen has built its widgets; the answer sheet
// names its buttons itself, since they come with the paper.
void DescribeExamScreen(QWidget *screen);

// What the clock's description says with this many seconds left: the
// hours and minutes the clock shows, so that it changes once a minute.
QString ClockDescription(int secondsLeft);
