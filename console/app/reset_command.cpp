// -r: resets the target and lets it run.
#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "link_interface.h"

namespace {
constexpr uint8_t kResetAndRun = 2;
} // namespace

int ResetAndRun(int, char*[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    PrintLine("Reset and run......");
    ++index;
    if (g_link.SetTargetState(kResetAndRun) != 0) {
        PrintLine("Reset and run failed!");
        return OP_RESETRUN_FAILED;
    }
    PrintLine("Reset and run finished!");
    PrintLine("");
    return OP_SUCCESS;
}
