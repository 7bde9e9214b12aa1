#pragma once

#include <initializer_list>

#include <QString>
#include <QStringList>

class QLabel;
class QTableWidget;
class QWidget;

// Parts the newer windows (the learning record, the sign-in, the room view)
// are built of, named so that tests find them.

// A label whose mnemonic moves the focus to its buddy.
QLabel *NewBuddyLabel(const QString &name, const QString &text, QWidget *buddy, QWidget *parent);

// A list of records: read-only, whole rows selected one at a time, no row
// numbers, and Tab leaving the list rather than walking its cells.
QTableWidget *NewRecordGrid(const QString &name, const QStringList &header, QWidget *parent);

// Tab goes through the widgets in the order given.
void SetTabChain(std::initializer_list<QWidget *> widgets);
