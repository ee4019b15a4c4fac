#include "command_handlers.h"
#include "connection_check.h"
#include "exit_codes.h"

// The connection is checked before any sub-option is read. The work itself goes through the link
// interface, which this build does not have yet: a target is never connected, and should one be,
// the command fails with its own code rather than pretend to succeed.
int DownLoadOTPData(int, char*[], int&)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    return OTP_FAILED;
}
