#include <QCoreApplication>

#include "app/UApplication.h"
#include "app/UDM.h"
#include "app/UnitInitialization.h"
#include "exam/UMain.h"

int main(int argc, char *argv[])
{
    TExamoraApplication app(argc, argv);
    InstallQtMessageBoxes();
    InstallChineseFonts();

    TDM dataModule;
    DM = &dataModule;
    dataModule.RunConnectDialog = [] {
        TFrmConnect dialog;
        return ExecModal(dialog);
    };
    RunGuarded([&dataModule] { dataModule.DataModuleCreate(QCoreApplication::applicationDirPath()); });

    TFrmMain mainWindow;
    mainWindow.show();
    const int result = TExamoraApplication::RunEventLoop();
    DM = nullptr;
    return result;
}
