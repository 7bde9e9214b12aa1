#pragma once

#include <functional>

#include <QFrame>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include "QVPaging.h"
#include "UQVBinding.h"

class QComboBox;
class QLabel;
class QToolButton;
class TQuery;
class TQVAdoQuery;

// The button glyphs the bar draws for itself: FIRST, PRIOR, NEXT, LAST, CONNECT.
QPixmap PageToolGlyph(const QString &name);

// A bar of navigation controls that makes a TQVAdoQuery show one page of
// its result at a time. The query hands its statement over when the
// application opens it; the bar counts the rows and replaces the statement
// by the first page, and its buttons and page list load the other pages.
// Errors of counting and reloading are swallowed: the bar never shows a
// message.
class TQVPageTool : public QFrame, public TQVPageCapture
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQVPageTool)

public:
    explicit TQVPageTool(QWidget *parent = nullptr);
    ~TQVPageTool() override;

    int PageRecordCount() const { return FPageRecordCount; }
    // Takes effect at the next count; values below 1 count as 1.
    void SetPageRecordCount(int count);

    int RecordCount() const { return FRecordCount; }
    int PageCount() const { return FPageCount; }
    int CurrentPage() const { return FCurrentPage; }
    int FirstXh() const { return FFirstXh; }
    int LastXh() const { return FLastXh; }
    QString BaseSql() const { return FBaseSql; }
    // The text of the page information label (two lines).
    QString PageInfo() const { return FPageInfo; }

    void CaptureQuery(TQVAdoQuery *query, const QString &upperSql) override;
    void CapturedOpenDone(TQVAdoQuery *query) override;
    // Counts again and shows the new count; the rows on show stay.
    void RowsChanged(TQVAdoQuery *query) override;
    // Loads the page on which the row numbered xh stands (or would stand)
    // and makes that page current; errors are swallowed like a button's.
    void ShowPageOf(int xh);

    void BtnAutoFirstClick();
    void BtnAutoPriorClick();
    void BtnAutoNextClick();
    void BtnAutoLastClick();
    void BtnAutoConnectClick();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *CreateButton(const char *name, const char *glyph, const QString &hint);
    void ArrangeParts();
    int ScaledGap() const;
    int PartsWidth() const;
    void Count();
    void UpdatePageInfo();
    void ShowPageInfo(const QString &text);
    void StoreBounds();
    void SaveMasterSource();
    void RestoreMasterSource();
    // Loads a page: recounts, reopens the query on the statement and
    // stores its bounds. Throws what the database throws.
    void Reload(const QString &sql);
    // Reloads page k (1-based) and makes it the current page.
    void LoadPage(int page);
    bool QueryOpen() const;
    // Runs a button: unlinks a master source, and when the guard holds
    // loads the page and shows the page information; errors are swallowed.
    void Navigate(bool guardHolds, const std::function<void()> &load);
    // The bar's own query on the query's database, opened on the statement.
    TQuery *OpenAuxQuery(const QString &sql);

    int FRecordCount = 0;
    int FPageCount = 0;
    int FCurrentPage = 0;
    int FPageRecordCount = 20;
    int FFirstXh = 0;
    int FLastXh = 0;
    QPointer<QObject> FSavedMasterSource;
    QPointer<TQVAdoQuery> FQuery;
    QString FBaseSql;
    QString FPageInfo;
    TQuery *FAuxQuery = nullptr;

    QToolButton *FBtnAutoFirst = nullptr;
    QToolButton *FBtnAutoPrior = nullptr;
    QToolButton *FBtnAutoNext = nullptr;
    QToolButton *FBtnAutoLast = nullptr;
    QToolButton *FBtnAutoConnect = nullptr;
    QLabel *FLabAutoPageInfo = nullptr;
    QLabel *FLabAutoConnect = nullptr;
    QLabel *FLabAutoPage = nullptr;
    QComboBox *FComboxAutoPage = nullptr;
};
