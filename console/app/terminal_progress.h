#pragma once

// Shows long steps as a progress bar on standard error: only when standard error is a terminal
// and KORVEX_PROGRESS is not 0, so that logs and pipes get no control characters.
void InstallTerminalProgress();
