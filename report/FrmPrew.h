#pragma once

#include <QDialog>
#include <QPrinter>

#include "UFrReport.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolButton;
class TfrPreview;

// The print preview: the prepared report with a toolbar (page setup,
// print, zoom, PDF, close), page buttons and the page indicator.
class TPreForm : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPreForm)

public:
    explicit TPreForm(QWidget *parent = nullptr);

    TfrReport &Report() { return frRep; }
    TfrPreview *Preview() const { return frPrev; }

    // Loads the template into the report; a missing or empty file puts a
    // message where the pages would be.
    void LoadReport(const QString &templatePath);
    // Prepares the report and shows its pages; false when preparing fails.
    bool PrepareReport();
    // Prints the prepared pages on the current printer without a dialog;
    // does nothing when no printer is installed.
    void PrintReport();
    // Prints the prepared pages on the printer as they are, without a dialog.
    bool PrintTo(QPrinter &printer);
    // False when there is no page or the file cannot be written.
    bool ExportPdf(const QString &fileName);

    void UpdatePageLabel();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateToolbar(QWidget *topBar);
    void CreateZoomMenu();
    QToolButton *CreateToolButton(QWidget *parent, const QString &name, const QString &caption, const QString &hint);
    QToolButton *CreatePageButton(QWidget *parent, const QString &name, const QString &hint);

    void FormShow();
    // True when the key was one of the preview's own.
    bool FormKeyDown(int key);
    void NZoomClick(QAction *item);
    void BtnSetClick();
    void BtnPrintClick();
    void BtnPdfClick();
    void BtnCloseClick();
    void frSpeedButton4Click();
    void frSpeedButton5Click();
    void frSpeedButton6Click();
    void frSpeedButton7Click();
    void frPrevPageChanged();

    TfrReport frRep;
    QPrinter FPrinter;
    bool FShown = false;
    TfrPreview *frPrev;
    QToolButton *BtnSet;
    QToolButton *BtnPrint;
    QToolButton *BtnZoom;
    QToolButton *BtnPdf;
    QToolButton *BtnClose;
    QToolButton *frSpeedButton4;
    QToolButton *frSpeedButton5;
    QToolButton *frSpeedButton6;
    QToolButton *frSpeedButton7;
    QLabel *Panel2;
    QMenu *PopupMenu;
    QActionGroup *FZoomItems;
    QAction *NZoom;
    QAction *N2001;
    QAction *N100;
    QAction *N751;
    QAction *N501;
    QAction *N201;
    QAction *N101;
    QAction *N1;
    QAction *NFitWidth;
};
