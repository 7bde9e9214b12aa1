#include <memory>
#include <optional>

#include "UApplication.h"
#include "UComm.h"
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
    // The view reads the bank the seats write, opened as they open it.
    return RunBankWindowProgram(argc, argv, "examora-hall", KDescription,
                                [](TDM &dataModule) { return std::make_unique<TFrmHall>(dataModule.ACon, RoomName()); });
}
