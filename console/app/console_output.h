#pragma once

#include <string>

// The one line printer of the product: the text, a newline, flushed to stdout.
void PrintLine(const std::string& text);

// Prints the line and answers false: the way out of a check that failed.
bool PrintFailure(const std::string& line);

// bad parameter "<argument>"; a missing argument (the null after the last one) prints as empty.
void PrintBadParameter(char* arguments[], int index);
// bad parameter "<text>"; nullptr prints as empty.
void PrintBadParameterText(const char* text);
// Error. bad parameter <text>: the dispatcher's line, and the line of -e and -eble for values.
void PrintErrorBadParameter(const char* text);

// A hint for people on standard error (never parsed by scripts): "Korvex_Console: <text>".
void PrintHint(const std::string& text);
