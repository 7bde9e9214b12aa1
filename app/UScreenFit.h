#pragma once

class QApplication;
class QWidget;

// Fits every window to its screen when it is first shown: where the design
// size does not fit, the whole design layout (positions, sizes, fonts) is
// scaled uniformly so that it does; the exam screen grows to fill the screen.
// At scale 1 nothing is touched.
void InstallScreenFit(QApplication &application);

// Fits one window to the screen it is on now, from the design values it had
// when it was first fitted: fitting again does not compound.
void FitToScreen(QWidget &window);

// The scale the window of widget was laid out at (1 when it was not
// scaled), for forms that place controls themselves after showing.
double DesignScale(const QWidget &widget);
