#include "console_output.h"

#include <cstdio>

void WriteInforAndWaitInput(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void WriteBadParameterInfor(char* arguments[], int index)
{
    const char* argument = arguments[index] != nullptr ? arguments[index] : "";
    WriteInforAndWaitInput(std::string("bad parameter \"") + argument + "\"");
}
