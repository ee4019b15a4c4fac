// What the installation ships besides the binaries: the udev rule, the bash completion and the parts
// list. (install_test.sh checks that each lands where its tool reads it.)
#include "KORVEXLIB.h"
#include "run_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

std::string ReadSourceFile(const std::string& relative) { return ReadFile(std::string(KORVEX_SOURCE_DIR) + "/" + relative); }

// One rule line matches the probe by the IDs the library looks for (lower-case hex, as sysfs
// spells them and udev compares them as text) and grants the seat's user and plugdev access.
TEST(UdevRule, MatchesTheProbeAndGrantsSeatAndGroupAccess)
{
    std::istringstream lines(ReadSourceFile("packaging/udev/70-korvex-probe.rules"));
    std::vector<std::string> rules;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#')
            rules.push_back(line + ",");
    ASSERT_EQ(rules.size(), 1u);
    char ids[96];
    std::snprintf(ids, sizeof ids, "ATTR{idVendor}==\"%04x\", ATTR{idProduct}==\"%04x\",", KORVEX_USB_VID, KORVEX_USB_PID);
    for (const char* term : {"SUBSYSTEM==\"usb\",", "ENV{DEVTYPE}==\"usb_device\",", static_cast<const char*>(ids),
                             "MODE=\"0660\",", "GROUP=\"plugdev\",", "TAG+=\"uaccess\","})
        EXPECT_NE(rules[0].find(term), std::string::npos) << term;
}

// Every option and sub-option of the help text can be completed.
TEST(BashCompletion, OffersEveryOptionOfTheHelpText)
{
    const std::string completion = ReadSourceFile("packaging/bash-completion/Korvex_Console");
    static const std::regex word(R"re((^|[\s"])(--?[a-z0-9?]+)(?=[\s"]))re");
    std::set<std::string> offered;
    for (std::sregex_iterator it(completion.begin(), completion.end(), word), end; it != end; ++it)
        offered.insert((*it)[2]);
    const auto help = korvex_test::runProcess({korvex_test::builtProgram("Korvex_Console"), "-?"});
    static const std::regex option(R"(^\s+(--?[a-z0-9?]+)\s)");
    std::istringstream lines(help.out);
    int seen = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, option)) {
            ++seen;
            EXPECT_TRUE(offered.count(m[1])) << m[1];
        }
    }
    EXPECT_GT(seen, 40);
    EXPECT_EQ(korvex_test::runProcess({"/bin/bash", "-n", std::string(KORVEX_SOURCE_DIR) + "/packaging/bash-completion/Korvex_Console"})
                  .exitCode,
              0);
}

// docs/parts.md is what the build makes from the catalogue, so it cannot go stale unnoticed.
TEST(PartsDocument, CommittedFileIsWhatTheBuildGenerates)
{
    const std::string built = ReadFile(std::string(KORVEX_BIN_DIR) + "/../docs/parts.md");
    EXPECT_FALSE(built.empty());
    EXPECT_TRUE(built == ReadSourceFile("docs/parts.md")) << "docs/parts.md is stale: copy build/docs/parts.md over it";
}

}  // namespace
