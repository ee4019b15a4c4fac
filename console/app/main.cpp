#include "banner.h"
#include "dispatcher.h"
#include "interrupt.h"
#include "terminal_progress.h"

#include <QCoreApplication>

#include <vector>

int main(int argc, char* argv[])
{
    // Qt may take arguments it knows out of the vector it is given; the walk sees them all.
    int qtArgc = argc;
    std::vector<char*> qtArgv(argv, argv + argc + 1);
    QCoreApplication application(qtArgc, qtArgv.data());
    InstallInterruptHandler();
    InstallTerminalProgress();
    PrintBanner();
    ResetRunValues();
    return RunCommandLine(argc, argv);
}
