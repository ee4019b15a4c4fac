/* Public interface of the Korvex probe library. C and C++. */
#ifndef KORVEXLIB_H
#define KORVEXLIB_H

#include <stdint.h>

#if defined(KORVEXLIB_BUILDING)
#define KORVEX_API __attribute__((visibility("default")))
#else
#define KORVEX_API
#endif

#define KORVEX_USB_VID 0x4B56
#define KORVEX_USB_PID 0xF000

#ifdef __cplusplus
extern "C" {
#endif

KORVEX_API int KORVEX_Init(void);

#ifdef __cplusplus
}
#endif

#endif /* KORVEXLIB_H */
