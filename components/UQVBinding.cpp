#include "UQVBinding.h"

#include "QVAdoQuery.h"

TQVBinding::~TQVBinding() = default;

TQVAdoQuery *TQVBinding::DataSet() const
{
    return static_cast<TQVAdoQuery *>(FDataSet.data());
}

void TQVBinding::SetDataSet(TQVAdoQuery *dataSet)
{
    FDataSet = dataSet;
}

bool TQVBinding::Editing() const
{
    const TQVAdoQuery *query = DataSet();
    return query && (query->State() == TQuery::dsEdit || query->State() == TQuery::dsInsert);
}

TQVPageCapture::~TQVPageCapture() = default;

void TQVPageCapture::RowsChanged(TQVAdoQuery *)
{
}
