#pragma once

// Sector ranges of -e, -eble, -u, -uble and -p --eepp; the command line gives them as
// ParseSectorRange (strict_number.h) reads them.

// Number of main-flash sectors of the connected MCU.
int MainFlashSectorCount();

// True when an -e --sec range may be processed; may print why not.
bool IsSectorsValid(int first, int last);

// True when an -eble --sec range lies in the BLE main space; prints nothing.
bool IsBLESectorsValid(int first, int last);
