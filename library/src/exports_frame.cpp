#include "KORVEXLIB.h"

int KORVEX_Init(void) { return 0; }
