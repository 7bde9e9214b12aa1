#pragma once

#include <QTableView>

#include "components/UQVBinding.h"

class TQVDBGridModel;

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

    // A grid takes part only in the state refresh; these do nothing.
    bool CheckValue() override { return true; }
    QVariant GetValue() override { return QVariant(); }
    void SetValue(const QVariant &) override {}
    void UpdateEditState() override {}

private:
    void RowClicked(const QModelIndex &index);
    void FollowCurrentRow();

    TQVDBGridModel *FModel;
};
