#pragma once

#include <functional>

#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include "UHallList.h"

class QLabel;
class QPrinter;
class QPushButton;
class QTableWidget;
class TConnection;

// The teacher's view of the exam room: every seat's open paper and the
// papers finished today, read from the records every two seconds, with
// export and print of the list. It never writes to the bank.
class TFrmHall : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmHall)

public:
    static constexpr int KRefreshMilliseconds = 2000;

    // connection stays owned by the caller and must outlive the window.
    explicit TFrmHall(TConnection *connection, const QString &roomName = QString(), QWidget *parent = nullptr);

    // Reads the lists again and shows them; a failure is shown in the
    // status line and the last lists stay.
    void Refresh();
    // Prints what the window shows now onto the printer.
    void PrintTo(QPrinter &printer) const;
    const THallList &List() const { return FList; }

    // The local time: the day it falls in is "today".
    std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTime(); };

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls();
    void ArrangeControls();
    void FillGrids();
    void BtnExportClick();
    void BtnPrintClick();

    TConnection *FConnection;
    QString FRoomName;
    THallList FList;
    QDateTime FReadAt;
    QTimer FRefreshTimer;

    QLabel *LabStatus;
    QLabel *LabOpen;
    QTableWidget *GridOpen;
    QLabel *LabFinished;
    QTableWidget *GridFinished;
    QPushButton *BtnExport;
    QPushButton *BtnPrint;
    QPushButton *BtnClose;
};
