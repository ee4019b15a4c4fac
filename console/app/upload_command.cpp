#include "command_handlers.h"
#include "connection_check.h"
#include "exit_codes.h"
#include "unavailable_command.h"

// The connection is checked before any sub-option is read; the work itself is not built yet
// (unavailable_command.h).
int Upload(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Target))
        return OP_CONNECT_FAILED;
    return ReportUnavailable(argc, argv, index);
}

int UploadBLE(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Ble))
        return OP_CONNECT_FAILED;
    return ReportUnavailable(argc, argv, index);
}
