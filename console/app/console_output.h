#pragma once

#include <string>

// The one line printer of the product: the text, a newline, flushed to stdout.
void PrintLine(const std::string& text);

// bad parameter "<argument>"; a missing argument (the null after the last one) prints as empty.
void PrintBadParameter(char* arguments[], int index);

// A hint for people on standard error (never parsed by scripts): "Korvex_Console: <text>".
void PrintHint(const std::string& text);
