#pragma once

#include <vector>

#include <QString>
#include <QStringList>

class TQuery;

// Presents the rows of a query to the report engine, in their order, with
// the display texts of their columns (so a column's OnGetText shows).
class TfrDBDataSet
{
public:
    TQuery *DataSet() const { return FDataSet; }
    void SetDataSet(TQuery *query) { FDataSet = query; }

    // True when a query is set and open: its column names then decide
    // which names of a template are fields.
    bool Active() const;
    bool HasField(const QString &fieldName) const;
    int RecordCount() const;
    // The display texts of the named columns for every row, in row order.
    // The query's current row is the same afterwards.
    std::vector<QStringList> RowTexts(const QStringList &fieldNames) const;

private:
    TQuery *FDataSet = nullptr;
};
