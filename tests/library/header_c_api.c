/* Compiled as C99 with -pedantic: the public header must be plain C that a C caller can use. */
#include "KORVEXLIB.h"

int korvex_c_version_of_invalid_handle(void) {
    uint8_t version[4];
    return KORVEX_GetVersion(KORVEX_INVALID_HANDLE, sizeof version, version);
}
