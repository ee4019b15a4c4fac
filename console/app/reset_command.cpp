// -r: resets the target and lets it run.
#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "LinkInterface.h"

namespace {
constexpr uint8_t kResetAndRun = 2;
} // namespace

int ResetAndRun(int, char*[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILD;
    WriteInforAndWaitInput("Reset and run......");
    ++index;
    if (m_LinkInterface.SetTargetState(kResetAndRun) != 0) {
        WriteInforAndWaitInput("Reset and run failed!");
        return OP_RESETRUN_FAILD;
    }
    WriteInforAndWaitInput("Reset and run finished!");
    WriteInforAndWaitInput("");
    return OP_SUCCESS;
}
