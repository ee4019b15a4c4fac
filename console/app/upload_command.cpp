#include "command_handlers.h"
#include "connection_check.h"
#include "exit_codes.h"
#include "sub_option_walk.h"

// The connection is checked before any sub-option is read, and the sub-options are walked by the
// command's row of the syntax table. The work itself is not built yet: the command fails with its
// own code rather than pretend to succeed.
int Upload(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Target))
        return OP_CONNECT_FAILED;
    const int walked = SkipSubOptions(argc, argv, index);
    return walked != OP_SUCCESS ? walked : OP_MCU_UPLOAD_FAILED;
}

int UploadBLE(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Ble))
        return OP_CONNECT_FAILED;
    const int walked = SkipSubOptions(argc, argv, index);
    return walked != OP_SUCCESS ? walked : OP_BL_UPLOAD_FAILED;
}
