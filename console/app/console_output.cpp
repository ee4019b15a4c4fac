#include "console_output.h"

#include <cstdio>

void PrintLine(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PrintBadParameter(char* arguments[], int index)
{
    const char* argument = arguments[index] != nullptr ? arguments[index] : "";
    PrintLine(std::string("bad parameter \"") + argument + "\"");
}

void PrintHint(const std::string& text)
{
    std::fflush(stdout);
    std::fprintf(stderr, "Korvex_Console: %s\n", text.c_str());
    std::fflush(stderr);
}
