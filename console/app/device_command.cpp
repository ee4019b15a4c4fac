#include "command_handlers.h"
#include "console_output.h"
#include "exit_codes.h"
#include "McuIdentification.h"
#include "option_test.h"
#include "ShareParameter.h"

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
        if (Is_Option(name))
            return OP_SUCCESS;
        MCUSERIALS series = ZR32ErrorMCU2;
        if (Is_SubOption(name) || !IsZR32Device(name, series)) {
            WriteBadParameterInfor(argv, index);
            return OP_BAD_PARAM;
        }
        g_shareParameter.ZR32DeviceSerial = series;
        if (index >= argc - 1) {
            index = argc;
            return OP_SUCCESS;
        }
    }
}
