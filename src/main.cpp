#include "UApplication.h"
#include "UComm.h"
#include "UCommandLine.h"
#include "UDM.h"
#include "UFrmCandidateSignIn.h"
#include "UMain.h"
#include "URoomConfig.h"
#include "UnitInitialization.h"

namespace {

const char *const KDescription = "examora: practice and mock exams for the written driving-licence theory test\n"
                                 "(驾驶人理论考试练习与模拟考试).\n"
                                 "\n"
                                 "Usage: examora [Qt options]\n"
                                 "  The program opens the question bank Data/Jsy_Data.mdb beside itself; the\n"
                                 "  installed launcher runs it from ~/.local/share/examora. With ExamRoom.cfg\n"
                                 "  beside it, it works on the exam room's server and the candidate signs in first.\n";

// In an exam room the candidate signs in before anything else is chosen;
// false when the sign-in was cancelled (or the room's settings are unusable,
// which has been shown) and the program ends. Outside a room: true at once.
bool SignInToRoom()
{
    bool signedIn = false;
    RunGuarded([&signedIn] {
        const std::optional<TRoomConfig> room = ReadRoomConfig(RunContext.AppPath);
        if (!room) {
            signedIn = true;
            return;
        }
        RunContext.RoomName = room->Name;
        TFrmCandidateSignIn dialog(room->Name);
        signedIn = ExecModal(dialog) == 1;
    });
    return signedIn;
}

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
    if (!SignInToRoom()) {
        DM = nullptr;
        return 0;
    }

    TFrmMain mainWindow;
    mainWindow.show();
    const int result = TExamoraApplication::RunEventLoop();
    DM = nullptr;
    return result;
}
