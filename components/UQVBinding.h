#pragma once

#include <QPointer>
#include <QString>
#include <QVariant>

class QObject;
class TQVAdoQuery;

// The bound control kinds, in the order the query tests a component.
enum class TQVKind {
    DBGrid,
    Edit,
    ComboBox,
    ComboBoxEx,
    CheckBox,
    Memo,
    RadioGroup,
    Image,
    CheckListBox,
};

// What every data-entry control bound to a TQVAdoQuery offers. A control
// derives from its Qt widget and from this class; the query finds it among
// its owner's descendants by dynamic_cast and calls these operations at its
// notifications. The query reference is not owned and reads null once the
// query is gone.
class TQVBinding
{
public:
    TQVBinding() = default;
    virtual ~TQVBinding();
    TQVBinding(const TQVBinding &) = delete;
    TQVBinding &operator=(const TQVBinding &) = delete;

    virtual TQVKind Kind() const = 0;

    TQVAdoQuery *DataSet() const;
    virtual void SetDataSet(TQVAdoQuery *dataSet);
    QString EditFieldName() const { return FEditFieldName; }
    virtual void SetEditFieldName(const QString &name) { FEditFieldName = name; }

    // Required and format check before a post. On failure the control has
    // taken the focus and shown its message, and the result is false.
    virtual bool CheckValue() = 0;
    // The control's value as a field value; a null QVariant when it holds nothing.
    virtual QVariant GetValue() = 0;
    // Shows a field value (null empties or deselects).
    virtual void SetValue(const QVariant &value) = 0;
    // Editable or read-only from the state of the bound query.
    virtual void UpdateEditState() = 0;

protected:
    // The control's own query is set and in edit or insert state.
    bool Editing() const;

private:
    QPointer<QObject> FDataSet;
    QString FEditFieldName;
};

// The picture control. Its value is the complete bytes of a JPEG file (a
// QByteArray; null when it shows no picture). The query loads and writes it
// only when the field is a blob field, and clears it when the query closes.
class TQVPictureBinding : public TQVBinding
{
public:
    TQVKind Kind() const final { return TQVKind::Image; }
    virtual void ClearPicture() = 0;
};

// The paging bar as the query sees it. The query calls CaptureQuery in its
// before-open step while PagingArmed is set, and CapturedOpenDone at the
// end of the after-open work of that same open.
class TQVPageCapture
{
public:
    virtual ~TQVPageCapture();

    // Takes the statement (upper-cased) as the base query, counts its rows
    // and writes the first-page statement into the query's SQL. Errors are
    // the bar's to swallow.
    virtual void CaptureQuery(TQVAdoQuery *query, const QString &upperSql) = 0;
    // The captured first page is open: store its first and last Xh.
    virtual void CapturedOpenDone(TQVAdoQuery *query) = 0;
    // The query posted or deleted a row: the count may have changed.
    virtual void RowsChanged(TQVAdoQuery *query);
};

// The flags the editable kinds share: whether a value is required before a
// save, and whether the user may change the value at all.
class TQVEditFlags
{
public:
    bool IsMust() const { return FIsMust; }
    void SetIsMust(bool isMust) { FIsMust = isMust; }
    bool CanEdit() const { return FCanEdit; }
    void SetCanEdit(bool canEdit) { FCanEdit = canEdit; }

protected:
    bool FIsMust = false;
    bool FCanEdit = true;
};
