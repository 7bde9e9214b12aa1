#include "exam/UMain.h"

#include <QCoreApplication>

#include "app/UApplication.h"
#include "app/UComm.h"
#include "app/UQuit.h"
#include "app/URegistry.h"
#include "setup/UXtglLogin.h"

TFrmMain::TFrmMain(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Examora"));
    setFixedSize(1022, 683);
    FormCreate();
}

void TFrmMain::FormCreate()
{
    TSettingsRegistry registry;
    if (!RecordApplicationInfo(registry, QCoreApplication::applicationFilePath())) {
        RequestQuit();
        return;
    }
    {
        TFrmXtglLogin login;
        if (ExecModal(login) != 1) {
            RequestQuit();
            return;
        }
    }
}
