#include <optional>

#include "UApplication.h"
#include "UComm.h"
#include "UCommandLine.h"
#include "UConnection.h"
#include "UDM.h"
#include "UFrmHall.h"
#include "URoomConfig.h"
#include "UnitInitialization.h"

namespace {

const char *const KDescription = "examora-hall: the teacher's view of an exam room (考场监控): every seat's open\n"
                                 "paper and the papers handed in today, refreshed every two seconds; export and print.\n"
                                 "\n"
                                 "Usage: examora-hall [Qt options]\n"
                                 "  It opens the bank the exam program beside it opens: the room's server named in\n"
                                 "  ExamRoom.cfg, or without that file the local bank Data/Jsy_Data.mdb. It only reads.\n";

// The room's name for the title and the choice of records; none when the
// folder has no room settings. A broken file has been shown by then.
QString RoomName()
{
    QString name;
    RunGuarded([&name] {
        if (const std::optional<TRoomConfig> room = ReadRoomConfig(RunContext.AppPath))
            name = room->Name;
    });
    return name;
}

} // namespace

int main(int argc, char *argv[])
{
    const TCommandLine commandLine("examora-hall", TCommandLine::GuiUsage(KDescription));
    if (const std::optional<int> status = commandLine.InfoStatus(argc, argv))
        return *status;
    TExamoraApplication app(argc, argv);
    if (const std::optional<int> status = commandLine.LeftoverStatus(app.arguments()))
        return *status;
    InstallQtMessageBoxes();
    InstallChineseFonts();

    // The same start-up as the seats, so that the view reads the bank they write.
    TDM dataModule;
    StartDataModule(dataModule);
    if (!dataModule.ACon->Connected())
        return 1;

    TFrmHall hall(dataModule.ACon, RoomName());
    hall.show();
    const int result = TExamoraApplication::RunEventLoop();
    DM = nullptr;
    return result;
}
