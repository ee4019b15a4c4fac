#include "banner.h"

#include "console_output.h"

#include <string>

namespace {
// "Korvex" above "Console" in slanted block letters, five lines each.
constexpr const char* kBlockLetters[] = {
    "    __ __",
    "   / //_/___  ______   _____  _  __",
    "  / ,< / __ \\/ ___/ | / / _ \\| |/_/",
    " / /| / /_/ / /   | |/ /  __/>  <",
    "/_/ |_\\____/_/    |___/\\___/_/|_|",
    "   ______                       __",
    "  / ____/___  ____  _________  / /__",
    " / /   / __ \\/ __ \\/ ___/ __ \\/ / _ \\",
    "/ /___/ /_/ / / / (__  ) /_/ / /  __/",
    "\\____/\\____/_/ /_/____/\\____/_/\\___/",
};
} // namespace

void PrintBanner()
{
    const std::string longRule(74, '-');
    const std::string shortRule(60, '-');
    PrintLine(longRule);
    for (const char* line : kBlockLetters)
        PrintLine(line);
    PrintLine(shortRule);
    PrintLine("Orvane Korvex Programmer V3.0.14");
    PrintLine(shortRule);
    PrintLine("");
}
