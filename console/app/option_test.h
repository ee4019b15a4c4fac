#pragma once

// True exactly for the 19 options, compared case-sensitively.
bool IsOption(const char* text);

// True exactly for the 27 sub-options, compared after lower-casing.
bool IsSubOption(const char* text);
