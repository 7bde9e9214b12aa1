#include "QVAdoQuery.h"

#include <QGroupBox>
#include <QList>
#include <QWidget>

#include "UDbError.h"
#include "UQVBinding.h"

namespace {

const QString KRecordListCaption = QStringLiteral("记录列表");

// The owner's components in order: its descendants depth first, without
// descending into windows of their own (another form's controls).
void CollectComponents(QObject *parent, QList<QPointer<QObject>> &components)
{
    for (QObject *child : parent->children()) {
        const auto *widget = qobject_cast<QWidget *>(child);
        if (widget && widget->isWindow())
            continue;
        components << child;
        CollectComponents(child, components);
    }
}

} // namespace

TQVAdoQuery::TQVAdoQuery(QObject *owner)
    : TQuery(owner),
      FOwner(owner)
{
}

TQVAdoQuery::~TQVAdoQuery() = default;

TQVPageCapture *TQVAdoQuery::QVPageTool() const
{
    return FPageToolObject ? FPageTool : nullptr;
}

void TQVAdoQuery::SetQVPageTool(TQVPageCapture *pageTool)
{
    FPageTool = pageTool;
    FPageToolObject = dynamic_cast<QObject *>(pageTool);
}

QGroupBox *TQVAdoQuery::ParentGroupBox() const
{
    return FParentGroupBox;
}

void TQVAdoQuery::SetParentGroupBox(QGroupBox *groupBox)
{
    FParentGroupBox = groupBox;
    if (FParentGroupBox && !Active())
        FParentGroupBox->setTitle(KRecordListCaption);
}

TField *TQVAdoQuery::FindBoundField(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    for (int i = 0; i < FieldCount(); ++i) {
        if (Fields(i)->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return Fields(i);
    }
    return nullptr;
}

void TQVAdoQuery::ForEachComponent(const std::function<void(QObject *)> &visit) const
{
    if (!FOwner)
        return;
    // A snapshot: a control may move its helper widgets while visited.
    QList<QPointer<QObject>> components;
    CollectComponents(FOwner, components);
    for (const QPointer<QObject> &component : components) {
        if (component)
            visit(component);
    }
}

bool TQVAdoQuery::IsBoundHere(TQVBinding *binding, const QString &fieldName)
{
    return binding->DataSet() == this && FindBoundField(fieldName) != nullptr;
}

void TQVAdoQuery::RefreshState(QObject *component)
{
    auto *binding = dynamic_cast<TQVBinding *>(component);
    if (!binding)
        return;
    if (binding->Kind() == TQVKind::DBGrid) {
        // Every grid of the form, bound or not, is locked while this query edits.
        if (auto *grid = qobject_cast<QWidget *>(component))
            grid->setEnabled(!IsEditing());
        return;
    }
    if (IsBoundHere(binding, binding->EditFieldName().trimmed()))
        binding->UpdateEditState();
}

void TQVAdoQuery::LoadValue(QObject *component)
{
    auto *binding = dynamic_cast<TQVBinding *>(component);
    if (!binding || binding->Kind() == TQVKind::DBGrid || !IsBoundHere(binding, binding->EditFieldName()))
        return;
    const TField *field = FindBoundField(binding->EditFieldName());
    if (binding->Kind() == TQVKind::Image && !field->IsBlob())
        return;
    binding->SetValue(field->Value());
}

void TQVAdoQuery::RefreshAndLoadAll()
{
    ForEachComponent([this](QObject *component) {
        RefreshState(component);
        LoadValue(component);
    });
}

void TQVAdoQuery::RefreshStateAll()
{
    ForEachComponent([this](QObject *component) { RefreshState(component); });
}

void TQVAdoQuery::LoadValueAll()
{
    ForEachComponent([this](QObject *component) { LoadValue(component); });
}

void TQVAdoQuery::WriteBack(TQVBinding *binding)
{
    TField *field = FindBoundField(binding->EditFieldName());
    if (binding->Kind() == TQVKind::Image && !field->IsBlob())
        return;
    field->SetValue(binding->GetValue());
}

bool TQVAdoQuery::BeforePostStep()
{
    if (!FOwner)
        return true;
    QList<QPointer<QObject>> components;
    CollectComponents(FOwner, components);
    for (const QPointer<QObject> &component : components) {
        auto *binding = dynamic_cast<TQVBinding *>(component.data());
        if (!binding || binding->Kind() == TQVKind::DBGrid)
            continue;
        if (!binding->CheckValue()) {
            if (IsEditing())
                Cancel();
            return false;
        }
        if (IsEditing() && IsBoundHere(binding, binding->EditFieldName()))
            WriteBack(binding);
    }
    return true;
}

QString TQVAdoQuery::CountTableText() const
{
    if (FCountTableName.isEmpty() || !Connection())
        return QString();
    try {
        TQuery counter;
        counter.SetConnection(Connection());
        counter.SetSQL(QStringLiteral("Select Count(*) From ") + FCountTableName);
        counter.Open();
        return QStringLiteral(" 共有记录 %1 条，").arg(counter.Fields(0)->AsInteger());
    } catch (const std::exception &) {
        // A count that cannot be made leaves the short caption.
        return QString();
    }
}

void TQVAdoQuery::UpdateCountCaption()
{
    // An ownerless query is a plain query: no count is made or shown.
    if (!FOwner || !FParentGroupBox)
        return;
    QString text = CountTableText();
    if (!text.isEmpty())
        text += QStringLiteral("当前记录 %1 条 ").arg(RecordCount());
    else
        text = QStringLiteral(" 当前记录 %1 条").arg(RecordCount());
    FParentGroupBox->setTitle(text);
}

void TQVAdoQuery::DoAfterCancel()
{
    TQuery::DoAfterCancel();
    RefreshAndLoadAll();
}

void TQVAdoQuery::DoAfterClose()
{
    TQuery::DoAfterClose();
    if (FParentGroupBox)
        FParentGroupBox->setTitle(KRecordListCaption);
    ForEachComponent([this](QObject *component) {
        auto *picture = dynamic_cast<TQVPictureBinding *>(component);
        if (picture && picture->DataSet() == this)
            picture->ClearPicture();
    });
}

void TQVAdoQuery::DoAfterDelete()
{
    TQuery::DoAfterDelete();
    RefreshAndLoadAll();
    UpdateCountCaption();
    if (QVPageTool())
        QVPageTool()->RowsChanged(this);
}

void TQVAdoQuery::DoAfterEdit()
{
    TQuery::DoAfterEdit();
    RefreshStateAll();
}

void TQVAdoQuery::DoAfterInsert()
{
    // The new record is in the controls before the application hears of it.
    RefreshAndLoadAll();
    TQuery::DoAfterInsert();
}

void TQVAdoQuery::DoAfterOpen()
{
    TQuery::DoAfterOpen();
    RefreshAndLoadAll();
    UpdateCountCaption();
    if (FOpenCaptured && QVPageTool()) {
        FOpenCaptured = false;
        QVPageTool()->CapturedOpenDone(this);
    }
}

void TQVAdoQuery::DoAfterPost()
{
    TQuery::DoAfterPost();
    RefreshStateAll();
    UpdateCountCaption();
    if (QVPageTool())
        QVPageTool()->RowsChanged(this);
}

void TQVAdoQuery::DoAfterScroll()
{
    LoadValueAll();
    TQuery::DoAfterScroll();
}

void TQVAdoQuery::DoBeforeOpen()
{
    FOpenCaptured = false;
    if (QVPageTool() && FPagingArmed) {
        QVPageTool()->CaptureQuery(this, SQL().toUpper());
        FOpenCaptured = true;
    }
    TQuery::DoBeforeOpen();
}

void TQVAdoQuery::DoBeforePost()
{
    if (BeforePostStep())
        TQuery::DoBeforePost();
}
