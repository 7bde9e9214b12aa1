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
    StartDataModule(dataModule);

    TFrmMain mainWindow;
    mainWindow.show();
    const int result = TExamoraApplication::RunEventLoop();
    DM = nullptr;
    return result;
}
