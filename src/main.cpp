#include "UApplication.h"
#include "UCommandLine.h"
#include "UDM.h"
#include "UnitInitialization.h"
#include "UMain.h"

namespace {

const char *const KDescription =
    "examora: practice and mock exams for the written driving-licence theory test\n"
    "(驾驶人理论考试练习与模拟考试).\n"
    "\n"
    "Usage: examora [Qt options]\n"
    "  The program opens the question bank Data/Jsy_Data.mdb beside itself; the\n"
    "  installed launcher runs it from ~/.local/share/examora.\n";

} // namespace

int main(int argc, char *argv[])
{
    const TCommandLine commandLine("examora", TCommandLine::GuiUsage(KDescription));
    if (const std::optional<int> status = commandLine.InfoStatus(argc, argv))
        return *status;
    TExamoraApplication app(argc, argv);
    if (const std::optional<int> status = commandLine.LeftoverStatus(app.arguments()))
        return *status;
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
