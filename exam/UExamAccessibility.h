#pragma once

class QWidget;

// Gives the exam screen's controls the names and descriptions a screen
// reader speaks, and keeps the clock's description on the minutes left.
// Called once, after the screen has built its widgets.
void DescribeExamScreen(QWidget *screen);

// What the clock's description says with this many seconds left.
QString ClockDescription(int secondsLeft);
