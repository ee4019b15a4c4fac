/* Built against an installed library, through pkg-config or find_package: lists the probes. */
#include <KORVEXLIB.h>
#include <stdio.h>

int main(void)
{
    static char serials[8 * KORVEX_SERIAL_ROW_SIZE];
    uint8_t count = 8;
    if (KORVEX_Init() != 0)
        return 1;
    int result = KORVEX_GetKorvexDeviceList(&count, serials);
    for (int i = 0; result == 0 && i < count; ++i)
        printf("%s\n", serials + i * KORVEX_SERIAL_ROW_SIZE);
    KORVEX_Exit();
    return result == 0 ? 0 : 2;
}
