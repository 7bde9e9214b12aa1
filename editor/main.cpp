#include "UApplication.h"
#include "UCommandLine.h"
#include "UConnection.h"
#include "UDM.h"
#include "UEditor.h"
#include "UnitInitialization.h"

namespace {

const char *const KDescription = "examora-editor: edits the questions of an Examora question bank (题库编辑).\n"
                                 "\n"
                                 "Usage: examora-editor [Qt options]\n"
                                 "  The editor opens the same bank as the exam program, Data/Jsy_Data.mdb\n"
                                 "  beside itself; the installed launcher runs it from ~/.local/share/examora.\n";

} // namespace

int main(int argc, char *argv[])
{
    const TCommandLine commandLine("examora-editor", TCommandLine::GuiUsage(KDescription));
    if (const std::optional<int> status = commandLine.InfoStatus(argc, argv))
        return *status;
    TExamoraApplication app(argc, argv);
    if (const std::optional<int> status = commandLine.LeftoverStatus(app.arguments()))
        return *status;
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
