#pragma once

// True exactly for the 19 options, compared case-sensitively.
bool Is_Option(const char* text);

// True exactly for the 27 sub-options, compared after lower-casing.
bool Is_SubOption(const char* text);
