#pragma once

#include <QDialog>

// The connection settings dialog shown when the question bank cannot be
// opened: OK tries the same database again, Cancel ends the program.
class TFrmConnect : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmConnect)

public:
    explicit TFrmConnect(QWidget *parent = nullptr);
};
