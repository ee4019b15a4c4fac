#include "banner.h"

#include "console_output.h"

#include <string>

namespace {
constexpr const char* kBlockLetters[] = {
    "      ##    ##",
    "     ##  ##      ####    ##  ##  ##      ##    ####    ##    ##",
    "    ####      ##    ##  ####    ##      ##  ########    ####",
    "   ##  ##    ##    ##  ##        ##  ##    ##          ####",
    "  ##    ##    ####    ##          ##        ######  ##    ##",
    "        ######                                          ##",
    "     ##          ####    ######      ######    ####    ##    ####",
    "    ##        ##    ##  ##    ##    ##      ##    ##  ##  ########",
    "   ##        ##    ##  ##    ##      ##    ##    ##  ##  ##",
    "    ######    ####    ##    ##  ######      ####    ##    ######",
};
} // namespace

void PrintBanner()
{
    const std::string longRule(74, '-');
    const std::string shortRule(60, '-');
    WriteInforAndWaitInput(longRule);
    for (const char* line : kBlockLetters)
        WriteInforAndWaitInput(line);
    WriteInforAndWaitInput(shortRule);
    WriteInforAndWaitInput("Orvane Korvex Programmer V3.0.14");
    WriteInforAndWaitInput(shortRule);
    WriteInforAndWaitInput("");
}
