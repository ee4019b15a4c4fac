#include "command_handlers.h"
#include "console_output.h"
#include "exit_codes.h"
#include "mcu_identification.h"
#include "option_test.h"
#include "part_name_hint.h"
#include "share_parameter.h"

// -device name [name ...]: records the series of the named part (the last name wins) for a
// target that is access-protected and cannot report it. Talks to no hardware, prints nothing.
int SetDevice(int argc, char* argv[], int& index)
{
    if (index >= argc - 1) {
        index = argc;
        return OP_SUCCESS;
    }
    for (;;) {
        ++index;
        const char* name = argv[index];
        if (IsOption(name))
            return OP_SUCCESS;
        McuSeries series = ZR32ErrorMCU2;
        if (IsSubOption(name) || !IsZR32Device(name, series)) {
            PrintBadParameter(argv, index);
            if (name != nullptr && !IsSubOption(name))
                HintClosestPartNames(name);
            return OP_BAD_PARAM;
        }
        g_shareParameter.series = series;
        if (index >= argc - 1) {
            index = argc;
            return OP_SUCCESS;
        }
    }
}
