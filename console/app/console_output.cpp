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

void PrintNote(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}
