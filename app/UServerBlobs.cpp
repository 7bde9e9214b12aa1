#include "UServerBlobs.h"

#include <QStringList>

#include "USqlText.h"

namespace {

// A picture left on the server: the key of its row.
struct TServerBlob
{
    QVariantList Key;
};

} // namespace

Q_DECLARE_METATYPE(TServerBlob)

TServerBlobs::TServerBlobs(const QSqlDatabase &db, const QString &table, const TTableShape &shape)
    : FTable(table),
      FShape(shape),
      FStatements(db)
{
}

std::unique_ptr<TServerBlobs> TServerBlobs::For(const QSqlDatabase &db, const QString &table, const TTableShape &shape,
                                                const QString &sql)
{
    const std::optional<QString> rest = WholeTableSelectRest(sql);
    if (!rest || shape.Keys.isEmpty())
        return nullptr;
    std::unique_ptr<TServerBlobs> blobs(new TServerBlobs(db, table, shape));
    QStringList columns;
    for (int i = 0; i < shape.Record.count(); ++i) {
        const QString name = QuotedIdentifier(shape.Record.fieldName(i));
        if (IsBlobColumn(shape.Record, i)) {
            blobs->FBlobFields.push_back(i);
            columns << BlobPresence(shape.Record.fieldName(i)) + QStringLiteral(" AS ") + name;
        } else {
            columns << name;
        }
    }
    for (const QString &key : shape.Keys)
        blobs->FKeyFields.push_back(shape.Record.indexOf(key));
    if (blobs->FBlobFields.empty())
        return nullptr;
    blobs->FStatement = QStringLiteral("SELECT %1 FROM %2%3").arg(columns.join(QLatin1Char(',')), table, *rest);
    return blobs;
}

void TServerBlobs::Mark(QVarLengthArray<QVariant, 1> &values) const
{
    for (const int blob : FBlobFields) {
        if (values[blob].isNull()) {
            values[blob] = QVariant(QMetaType::fromType<QByteArray>());
            continue;
        }
        TServerBlob marker;
        for (const int key : FKeyFields)
            marker.Key << values[key];
        values[blob] = QVariant::fromValue(marker);
    }
}

QVariant TServerBlobs::Resolved(QVariant &cell, int fieldIndex)
{
    if (cell.metaType() != QMetaType::fromType<TServerBlob>())
        return cell;
    QStringList terms;
    for (const int key : FKeyFields)
        terms << QuotedIdentifier(FShape.Record.fieldName(key)) + QStringLiteral("=?");
    QSqlQuery &query = FStatements.Get(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3")
            .arg(QuotedIdentifier(FShape.Record.fieldName(fieldIndex)), FTable, terms.join(QLatin1String(" AND "))));
    const QVariantList key = cell.value<TServerBlob>().Key;
    for (int i = 0; i < key.size(); ++i)
        query.bindValue(i, key[i]);
    cell = RowValue(query);
    return cell;
}
