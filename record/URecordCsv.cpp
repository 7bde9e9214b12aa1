#include "URecordCsv.h"

#include <QSaveFile>

QString CsvField(const QString &value)
{
    QString cell = value;
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!cell.isEmpty() && formulaStarts.contains(cell.at(0)))
        cell.prepend(QLatin1Char('\''));
    const bool needsQuotes = cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"'))
        || cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'));
    if (!needsQuotes)
        return cell;
    cell.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + cell + QLatin1Char('"');
}

QByteArray CsvDocument(const QList<QStringList> &rows)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &value : row)
            cells << CsvField(value);
        bytes += cells.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    return bytes;
}

bool WriteCsvFile(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
