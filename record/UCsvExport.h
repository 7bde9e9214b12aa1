#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

// Asks for a file in a save dialog (object name "ExportDialog") that
// suggests `suggested`, writes the bytes there and tells where they went,
// "<what>已导出到“…”。", or why not, "<what>未能导出到“…”：…". Nothing
// is written when the dialog is cancelled.
void ExportCsvFile(QWidget *parent, const QString &title, const QString &suggested, const QByteArray &bytes,
                   const QString &what);
