#include "command_handlers.h"
#include "connection_check.h"
#include "exit_codes.h"
#include "unavailable_command.h"

// The connection is checked before any sub-option is read; the work itself is not built yet
// (unavailable_command.h).
int Protection(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Target))
        return OP_CONNECT_FAILED;
    return ReportUnavailable(argc, argv, index);
}
