/* Lists the Korvex probes on the USB bus and prints each one's settings.
 *
 * Build against an installed library:   cc probe_settings.c $(pkg-config --cflags --libs KORVEXLIB)
 * or against a build tree:              PKG_CONFIG_PATH=BUILD/library cc probe_settings.c $(pkg-config ...)
 */
#include <stdio.h>
#include <string.h>

#include "KORVEXLIB.h"

static int print_settings(const char *serial)
{
    uint8_t version[4], display[2], buzzer = 0, bridge = 0, projects = 0;
    uint32_t stable_ms = 0, isp_bps = 0;
    int rc;
    KORVEX_HANDLE probe = KORVEX_Open(serial);
    if (probe == KORVEX_INVALID_HANDLE) {
        printf("%s: cannot be opened\n", serial);
        return 1;
    }
    rc = KORVEX_GetVersion(probe, 4, version);
    if (rc == 0) rc = KORVEX_GetLCDFWVersion(probe, 2, display);
    if (rc == 0) rc = KORVEX_GetTargetStableTime(probe, &stable_ms);
    if (rc == 0) rc = KORVEX_GetBuzzerState(probe, &buzzer);
    if (rc == 0) rc = KORVEX_GetOfflineISPUartBps(probe, &isp_bps);
    if (rc == 0) rc = KORVEX_GetUSBToUsartState(probe, &bridge);
    if (rc == 0) rc = KORVEX_GetCodeNumber(probe, &projects);
    if (rc == 0)
        printf("%s: firmware %u.%u.%u, display %u.%u, target stable time %lu ms, buzzer %s, "
               "offline ISP UART %lu bps, USB-to-USART %s, offline projects %u\n",
               serial, version[0], version[1], version[2], display[0], display[1], (unsigned long)stable_ms,
               buzzer ? "on" : "off", (unsigned long)isp_bps, bridge ? "on" : "off", projects);
    else
        printf("%s: reading the settings failed with %d\n", serial, rc);
    KORVEX_Close(probe);
    return rc == 0 ? 0 : 1;
}

int main(void)
{
    static tagKORVEXDeviceInfo serials;
    uint8_t count = 99, i;
    int failures = 0;
    if (KORVEX_Init() != 0) {
        printf("USB cannot be initialised\n");
        return 1;
    }
    KORVEX_GetKorvexDeviceList(&count, &serials.deviceInfo[0][0]);
    printf("probes: %u\n", count);
    for (i = 0; i < count; ++i) failures += print_settings(serials.deviceInfo[i]);
    KORVEX_Exit();
    return failures == 0 ? 0 : 1;
}
