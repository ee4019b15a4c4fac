#include "console_output.h"

#include "job_progress.h"

#include <cstdio>

void PrintLine(const std::string& text)
{
    // After Ctrl-C standard output says nothing more: the stop is reported on standard error.
    if (StopRequested())
        return;
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool PrintFailure(const std::string& line)
{
    PrintLine(line);
    return false;
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
    const std::string argument = text != nullptr ? text : "";
    PrintLine("Error. bad parameter " + argument);
    if (argument == "--help" || argument == "-h" || argument == "-help" || argument == "help")
        PrintHint("the help is -?, as in: Korvex_Console -?");
}

void PrintHint(const std::string& text)
{
    std::fflush(stdout);
    std::fprintf(stderr, "Korvex_Console: %s\n", text.c_str());
    std::fflush(stderr);
}
