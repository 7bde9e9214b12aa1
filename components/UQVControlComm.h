#pragma once

#include <QColor>
#include <QString>

class QWidget;

// Colours of the bound controls: white while they may be changed, grey
// while they are read-only.
inline const QColor KQVEditableColor(255, 255, 255);
inline const QColor KQVReadOnlyColor(212, 208, 200);

// The library's error box: caption "错误", the error icon and OK.
void QVShowError(const QString &text);

// Field index (from 0) of a text whose fields are parted by the separator;
// tabs are dropped, a field is cut to 1025 characters and trimmed of
// blanks. A field that does not exist gives the empty text. It keeps one
// character more than GetField, so a check-list entry of 1025 still matches.
QString QVGetField(const QString &text, int index, QChar separator);

int QVCountChar(const QString &text, QChar c);

// The modes of MaskTextToParseText.
enum TQVMaskMode { mmDate = 0, mmTime = 1, mmDateTime = 2 };

// Turns the masked text of a date (yyyy年mm月dd日), time (hh:nn) or
// date-time edit into yyyy-mm-dd, hh:nn:00 or yyyy-mm-dd hh:nn:00, keeping
// unfilled places as blanks.
QString MaskTextToParseText(const QString &text, int mode);

// Paints a control's base white or grey; does nothing when it already is,
// so that a refresh run from a paint event cannot start another.
void QVSetBaseColor(QWidget *control, const QColor &color);

// Moves a window so that its frame is centred on the screen it is on.
void QVCenterOnScreen(QWidget *window);
