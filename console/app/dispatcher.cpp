#include "dispatcher.h"

#include "command_line_check.h"
#include "connect_command.h"
#include "console_output.h"
#include "exit_codes.h"
#include "help_text.h"
#include "interrupt.h"
#include "job_progress.h"
#include "run_log.h"
#include "share_parameter.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {
const OptionRow kOptionTable[] = {
    {"-?", ShowHelp},
    {"-device", SetDevice},
    {"-connect", Connect},
    {"-e", Erase},
    {"-eble", EraseBLE},
    {"-d", Download},
    {"-u", Upload},
    {"-uble", UploadBLE},
    {"-usd", ProgramUserSystemData},
    {"-p", Protection},
    {"-enspim", EnableSPIM},
    {"-bmapm", BootMemoryAPMode},
    {"-wsn", WriteSN},
    {"-otp", DownLoadOTPData},
    {"-mem32", DebugRead},
    {"-mem16", DebugRead},
    {"-w4", DebugWrite},
    {"-w2", DebugWrite},
    {"-r", ResetAndRun},
};

int EndRun(RunLog& log, int exitCode)
{
    log.Finish(exitCode);
    KorvexDisConnect();
    return exitCode;
}
} // namespace

const OptionRow* FindOption(const char* text)
{
    for (const OptionRow& row : kOptionTable) {
        if (std::strcmp(row.option, text) == 0)
            return &row;
    }
    return nullptr;
}

void ResetRunValues()
{
    ShareParameter& shared = g_shareParameter;
    shared.series = ZR32ErrorMCU2;
    g_probeHandle = 0;
    shared.downloadAddress = ZRCHIP_FLASH_BASE_ADDRESS;
    shared.connectState = DISCONNECTED;
    shared.erasedInRun.Clear();
    shared.bleMainSpaceErased = false;
    shared.spimEnabled = false;
    shared.spimSizeMb = 0;
    shared.spimRemap = false;
    shared.spimFlashType = 0;
    shared.spimFlashDa = 0;
}

int RunCommandLine(int argc, char* argv[])
{
    const int count = argc - 1;
    char** arguments = argv + 1;
    RunLog log;
    if (count <= 0) {
        man();
        PrintLine("\r\nDone!");
        return EndRun(log, OP_SUCCESS);
    }
    // A typo must never reach the board: the whole line is checked before the first option runs.
    const int fault = CheckCommandLine(count, arguments);
    if (fault != OP_SUCCESS)
        return EndRun(log, fault);
    int index = 0;
    while (index < count) {
        const char* argument = arguments[index];
        const OptionRow* row = FindOption(argument);
        if (row == nullptr) {
            PrintErrorBadParameter(argument);
            return EndRun(log, OP_BAD_PARAM);
        }
        const int started = index;
        const int result = StopRequested() ? kInterruptedExitCode : row->handler(count, arguments, index);
        log.OptionDone(argument, std::vector<std::string>(arguments + started + 1, arguments + std::max(index, started + 1)),
                       result);
        if (StopRequested()) {
            log.Finish(kInterruptedExitCode);
            KorvexDisConnect();
            return ReportInterrupted(argument);
        }
        if (result != OP_SUCCESS)
            return EndRun(log, result);
        if (index <= started) // a handler that did not move on would repeat forever
            index = started + 1;
    }
    PrintLine("\r\nDone!");
    return EndRun(log, OP_SUCCESS);
}
