#include "QVDBGrid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPointer>

#include "QVAdoQuery.h"

// The rows of a query as a table model, read without moving the cursor.
class TQVDBGridModel : public QAbstractTableModel
{
public:
    explicit TQVDBGridModel(QObject *parent)
        : QAbstractTableModel(parent)
    {
    }

    void SetQuery(TQuery *query)
    {
        beginResetModel();
        FQuery = query;
        endResetModel();
    }
    void Reload()
    {
        beginResetModel();
        endResetModel();
    }
    TQuery *Query() const { return FQuery; }
    void SetColumns(const QList<TQVGridColumn> &columns)
    {
        beginResetModel();
        FColumns = columns;
        endResetModel();
    }
    // The listed column of a field of the query; null when the field is not listed.
    const TQVGridColumn *Column(int section) const
    {
        if (!FQuery || section < 0 || section >= FQuery->FieldCount())
            return nullptr;
        const QString &name = FQuery->Fields(section)->FieldName();
        for (const TQVGridColumn &column : FColumns) {
            if (column.FieldName.compare(name, Qt::CaseInsensitive) == 0)
                return &column;
        }
        return nullptr;
    }
    bool Listed(int section) const { return FColumns.isEmpty() || Column(section); }

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() || !FQuery ? 0 : FQuery->RecordCount();
    }
    int columnCount(const QModelIndex &parent) const override
    {
        return parent.isValid() || !FQuery ? 0 : FQuery->FieldCount();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!FQuery || role != Qt::DisplayRole)
            return QVariant();
        const QVariant value = FQuery->RowValue(index.row(), index.column());
        if (value.typeId() == QMetaType::QByteArray)
            return QStringLiteral("(BLOB)");
        const TQVGridColumn *column = Column(index.column());
        return column && column->Text ? QVariant(column->Text(value)) : value;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (!FQuery || role != Qt::DisplayRole)
            return QVariant();
        if (orientation == Qt::Vertical)
            return section + 1;
        const TQVGridColumn *column = Column(section);
        return column ? column->Title : FQuery->FieldNames().value(section);
    }

private:
    QPointer<TQuery> FQuery;
    QList<TQVGridColumn> FColumns;
};

TQVDBGrid::TQVDBGrid(QWidget *parent)
    : QTableView(parent),
      FModel(new TQVDBGridModel(this))
{
    setModel(FModel);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(20);
    connect(this, &QAbstractItemView::clicked, this, &TQVDBGrid::RowClicked);
    // A reset model brings its columns back: hide and size them again.
    connect(FModel, &QAbstractItemModel::modelReset, this, &TQVDBGrid::ApplyColumns);
}

void TQVDBGrid::SetColumns(const QList<TQVGridColumn> &columns)
{
    FModel->SetColumns(columns);
}

void TQVDBGrid::ApplyColumns()
{
    for (int section = 0; section < FModel->columnCount(QModelIndex()); ++section) {
        setColumnHidden(section, !FModel->Listed(section));
        const TQVGridColumn *column = FModel->Column(section);
        if (column && column->Width > 0)
            setColumnWidth(section, column->Width);
    }
}

void TQVDBGrid::SetDataSet(TQVAdoQuery *dataSet)
{
    if (FModel->Query())
        disconnect(FModel->Query(), nullptr, this, nullptr);
    TQVBinding::SetDataSet(dataSet);
    FModel->SetQuery(dataSet);
    if (!dataSet)
        return;
    for (auto signal : {&TQuery::AfterOpen, &TQuery::AfterClose, &TQuery::AfterPost, &TQuery::AfterDelete,
                        &TQuery::AfterCancel, &TQuery::AfterInsert}) {
        connect(dataSet, signal, this, [this] {
            FModel->Reload();
            FollowCurrentRow();
        });
    }
    connect(dataSet, &TQuery::AfterScroll, this, &TQVDBGrid::FollowCurrentRow);
}

void TQVDBGrid::RowClicked(const QModelIndex &index)
{
    TQuery *query = FModel->Query();
    if (query && query->Active() && query->RecNo() > 0)
        query->MoveBy(index.row() - (query->RecNo() - 1));
}

void TQVDBGrid::FollowCurrentRow()
{
    const TQuery *query = FModel->Query();
    if (query && query->RecNo() > 0)
        selectRow(query->RecNo() - 1);
    else
        clearSelection();
}
