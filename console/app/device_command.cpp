#include "command_handlers.h"
#include "exit_codes.h"
#include "mcu_identification.h"
#include "share_parameter.h"
#include "sub_option_walk.h"

// -device name [name ...]: records the series of the named part (the last name wins) for a
// target that is access-protected and cannot report it. Talks to no hardware, prints nothing.
int SetDevice(int argc, char* argv[], int& index)
{
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step)) {
        McuSeries series = ZR32ErrorMCU2;
        if (IsZR32Device(step.text, series))
            g_shareParameter.series = series;
    }
    return walk.Result();
}
