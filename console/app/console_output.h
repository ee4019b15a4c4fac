#pragma once

#include <string>

// The one line printer of the product: the text, a newline, flushed to stdout.
void PrintLine(const std::string& text);

// bad parameter "<argument>"; a missing argument (the null after the last one) prints as empty.
void PrintBadParameter(char* arguments[], int index);

// A hint for the user on stderr, one line; standard output stays exactly as specified.
void PrintNote(const std::string& text);
