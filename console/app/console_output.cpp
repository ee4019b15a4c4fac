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
    PrintBadParameterText(arguments[index]);
}

void PrintBadParameterText(const char* text)
{
    PrintLine(std::string("bad parameter \"") + (text != nullptr ? text : "") + "\"");
}

void PrintErrorBadParameter(const char* text)
{
    PrintLine(std::string("Error. bad parameter ") + (text != nullptr ? text : ""));
}

void PrintHint(const std::string& text)
{
    std::fflush(stdout);
    std::fprintf(stderr, "Korvex_Console: %s\n", text.c_str());
    std::fflush(stderr);
}
