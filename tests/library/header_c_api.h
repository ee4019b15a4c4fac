/* Checks made by a C translation unit that includes the public header. */
#ifndef KORVEX_HEADER_C_API_H
#define KORVEX_HEADER_C_API_H

#ifdef __cplusplus
extern "C" {
#endif

int korvex_c_handle_only_count(void);
int korvex_c_invalid_handle_results(void); /* how many handle-only exports did not answer 1 */
int korvex_c_constants_ok(void);

#ifdef __cplusplus
}
#endif

#endif
