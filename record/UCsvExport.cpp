#include "UCsvExport.h"

#include <QDir>
#include <QFileDialog>

#include "UApplication.h"
#include "UComm.h"
#include "URecordCsv.h"

namespace {

QString ChooseExportFile(QWidget *parent, const QString &title, const QString &suggested)
{
    QFileDialog dialog(parent, title, suggested, QStringLiteral("CSV 文件 (*.csv)"));
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (ExecModal(dialog) != 1 || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

void ExportCsvFile(QWidget *parent, const QString &title, const QString &suggested, const QByteArray &bytes,
                   const QString &what)
{
    const QString fileName = ChooseExportFile(parent, title, suggested);
    if (fileName.isEmpty())
        return;
    QString error;
    if (WriteCsvFile(fileName, bytes, &error))
        ShowInfo(QStringLiteral("%1已导出到“%2”。").arg(what, QDir::toNativeSeparators(fileName)));
    else
        ShowError(QStringLiteral("%1未能导出到“%2”：%3").arg(what, QDir::toNativeSeparators(fileName), error));
}
