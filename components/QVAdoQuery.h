#pragma once

#include <functional>

#include <QPointer>
#include <QString>

#include "UQuery.h"

class QGroupBox;
class TQVBinding;
class TQVPageCapture;

// The library's query: a TQuery that keeps the bound controls of its owner
// (the QObject parent given at construction) in step with the current
// record, checks and writes them back before a post, shows a record-count
// caption in a group box and hands its SQL to a paging bar when opened.
class TQVAdoQuery : public TQuery
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVAdoQuery)

public:
    explicit TQVAdoQuery(QObject *owner = nullptr);
    ~TQVAdoQuery() override;

    QObject *Owner() const { return FOwner; }

    TQVPageCapture *QVPageTool() const;
    // Not owned; the bar must derive from QObject too (the query forgets it
    // when it is destroyed).
    void SetQVPageTool(TQVPageCapture *pageTool);
    QGroupBox *ParentGroupBox() const;
    void SetParentGroupBox(QGroupBox *groupBox);
    QString CountTableName() const { return FCountTableName; }
    void SetCountTableName(const QString &tableName) { FCountTableName = tableName; }
    // The next open is handed to the paging bar; the bar clears it before
    // each of its own reloads and nothing sets it again.
    bool PagingArmed() const { return FPagingArmed; }
    void SetPagingArmed(bool armed) { FPagingArmed = armed; }

    // The field a control is bound to, matched by name in any case but
    // without trimming; null when the query has none.
    TField *FindBoundField(const QString &name);
    bool IsEditing() const { return State() == dsEdit || State() == dsInsert; }

protected:
    void DoAfterCancel() override;
    void DoAfterClose() override;
    void DoAfterDelete() override;
    void DoAfterEdit() override;
    void DoAfterInsert() override;
    void DoAfterOpen() override;
    void DoAfterPost() override;
    void DoAfterScroll() override;
    void DoBeforeOpen() override;
    void DoBeforePost() override;

private:
    void ForEachComponent(const std::function<void(QObject *)> &visit) const;
    bool IsBoundHere(TQVBinding *binding, const QString &fieldName);
    void RefreshState(QObject *component);
    void LoadValue(QObject *component);
    void RefreshAndLoadAll();
    void RefreshStateAll();
    void LoadValueAll();
    bool BeforePostStep();
    void WriteBack(TQVBinding *binding);
    void UpdateCountCaption();
    QString CountTableText() const;

    QPointer<QObject> FOwner;
    QPointer<QObject> FPageToolObject;
    TQVPageCapture *FPageTool = nullptr;
    QPointer<QGroupBox> FParentGroupBox;
    QString FCountTableName;
    bool FPagingArmed = true;
    bool FOpenCaptured = false;
};
