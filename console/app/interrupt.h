#pragma once

// Ctrl-C stops the job at the next exchange instead of killing the process mid-transfer, so
// that the probe is closed and the user learns what was cut short. A second Ctrl-C kills.
void InstallInterruptHandler();

// The exit code of an interrupted run.
constexpr int kInterruptedExitCode = 130;

// After a stop: says on standard error what was cut short and returns kInterruptedExitCode.
int ReportInterrupted(const char* option);
