#include "app/UApplication.h"
#include "app/UConnection.h"
#include "app/UDM.h"
#include "app/UnitInitialization.h"
#include "editor/UEditor.h"

int main(int argc, char *argv[])
{
    TExamoraApplication app(argc, argv);
    InstallQtMessageBoxes();
    InstallChineseFonts();

    // The same bank and the same start-up as the exam program.
    TDM dataModule;
    StartDataModule(dataModule);
    if (!dataModule.ACon->Connected())
        return 1;

    TFrmEditor editor;
    editor.show();
    const int result = TExamoraApplication::RunEventLoop();
    DM = nullptr;
    return result;
}
