#pragma once

#include <functional>

#include <QList>
#include <QTableView>

#include "UQVBinding.h"

class TQVDBGridModel;

// How the grid shows one field of its query: the header, the width and,
// when set, the text of a value (a code shown by its name).
struct TQVGridColumn
{
    QString FieldName;
    QString Title;
    int Width = 0;
    std::function<QString(const QVariant &value)> Text;
};

// A grid of the rows of its query (DataSet). Clicking a row makes it the
// query's current row. The query of the form disables every grid while it
// edits or inserts, so that the record being edited cannot be left.
class TQVDBGrid : public QTableView, public TQVBinding
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVDBGrid)

public:
    explicit TQVDBGrid(QWidget *parent = nullptr);

    TQVKind Kind() const override { return TQVKind::DBGrid; }
    void SetDataSet(TQVAdoQuery *dataSet) override;

    // Shows only these fields (matched in any case), in the query's order;
    // without any the grid shows every field under its own name.
    void SetColumns(const QList<TQVGridColumn> &columns);

    // A grid takes part only in the state refresh; these do nothing.
    bool CheckValue() override { return true; }
    QVariant GetValue() override { return QVariant(); }
    void SetValue(const QVariant &) override {}
    void UpdateEditState() override {}

private:
    void RowClicked(const QModelIndex &index);
    void FollowCurrentRow();
    void ApplyColumns();

    TQVDBGridModel *FModel;
};
