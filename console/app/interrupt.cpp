#include "interrupt.h"

#include "console_output.h"
#include "job_progress.h"

#include <csignal>
#include <string>

namespace {
void OnInterrupt(int) { RequestStop(); }
} // namespace

void InstallInterruptHandler()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND; // the second Ctrl-C ends the process at once
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

int ReportInterrupted(const char* option)
{
    const std::string step = CurrentStep();
    PrintHint(std::string("interrupted during ") + option + (step.empty() ? "" : " (" + step + ")") +
              ": the target memory may be partly written; the probe is closed");
    return kInterruptedExitCode;
}
