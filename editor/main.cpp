#include <memory>

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
    return RunBankWindowProgram(argc, argv, "examora-editor", KDescription,
                                [](TDM &) { return std::make_unique<TFrmEditor>(); });
}
