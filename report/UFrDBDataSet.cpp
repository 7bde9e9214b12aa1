#include "UFrDBDataSet.h"

#include "UQuery.h"

bool TfrDBDataSet::Active() const
{
    return FDataSet && FDataSet->Active();
}

bool TfrDBDataSet::HasField(const QString &fieldName) const
{
    return Active() && FDataSet->FindField(fieldName);
}

int TfrDBDataSet::RecordCount() const
{
    return Active() ? FDataSet->RecordCount() : 0;
}

std::vector<QStringList> TfrDBDataSet::RowTexts(const QStringList &fieldNames) const
{
    std::vector<QStringList> rows;
    if (!Active() || FDataSet->IsEmpty())
        return rows;
    std::vector<TField *> fields;
    for (const QString &name : fieldNames)
        fields.push_back(FDataSet->FieldByName(name));

    const int startRow = FDataSet->RecNo();
    rows.reserve(FDataSet->RecordCount());
    for (FDataSet->First(); !FDataSet->Eof(); FDataSet->Next()) {
        QStringList texts;
        for (const TField *field : fields)
            texts << field->DisplayText();
        rows.push_back(texts);
    }
    FDataSet->First();
    FDataSet->MoveBy(startRow - 1);
    return rows;
}
