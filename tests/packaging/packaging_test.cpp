// What the installation ships besides the binaries: the udev rule and the bash completion.
#include "KORVEXLIB.h"
#include "run_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::string ReadSourceFile(const std::string& relative)
{
    std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/" + relative);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// One udev rule line: KEY[{attribute}] OPERATOR "value", separated by commas.
struct RuleTerm {
    std::string key, op, value;
};

std::vector<RuleTerm> ParseRuleLine(const std::string& line, std::string& error)
{
    static const std::regex term(R"re(\s*([A-Z_]+(?:\{[A-Za-z_]+\})?)\s*(==|!=|\+=|-=|:=|=)\s*"([^"]*)"\s*(,|$))re");
    std::vector<RuleTerm> terms;
    auto begin = line.cbegin();
    std::smatch m;
    while (begin != line.cend()) {
        if (!std::regex_search(begin, line.cend(), m, term, std::regex_constants::match_continuous)) {
            error = "cannot read: " + std::string(begin, line.cend());
            return {};
        }
        terms.push_back({m[1], m[2], m[3]});
        begin = m[0].second;
    }
    return terms;
}

std::string LowerHex4(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

TEST(UdevRule, MatchesTheProbeAndGrantsSeatAndGroupAccess)
{
    static const std::set<std::string> matchKeys = {"SUBSYSTEM", "ENV{DEVTYPE}", "ATTR{idVendor}",
                                                    "ATTR{idProduct}"};
    static const std::set<std::string> assignKeys = {"MODE", "GROUP", "TAG"};
    std::istringstream lines(ReadSourceFile("packaging/udev/70-korvex-probe.rules"));
    std::map<std::string, RuleTerm> rule;
    int rules = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        ++rules;
        std::string error;
        for (const RuleTerm& t : ParseRuleLine(line, error)) {
            const bool isMatch = t.op == "==" || t.op == "!=";
            EXPECT_TRUE(isMatch ? matchKeys.count(t.key) : assignKeys.count(t.key)) << t.key << t.op;
            rule[t.key] = t;
        }
        EXPECT_EQ(error, "");
    }
    EXPECT_EQ(rules, 1);
    // sysfs spells the IDs in lower-case hex, and udev compares them as text.
    EXPECT_EQ(rule["SUBSYSTEM"].value, "usb");
    EXPECT_EQ(rule["ENV{DEVTYPE}"].value, "usb_device");
    EXPECT_EQ(rule["ATTR{idVendor}"].value, LowerHex4(KORVEX_USB_VID));
    EXPECT_EQ(rule["ATTR{idProduct}"].value, LowerHex4(KORVEX_USB_PID));
    EXPECT_EQ(rule["TAG"].op + rule["TAG"].value, "+=uaccess");
    EXPECT_EQ(rule["GROUP"].op + rule["GROUP"].value, "=plugdev");
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
        if (!std::regex_search(line, m, option))
            continue;
        ++seen;
        EXPECT_TRUE(offered.count(m[1])) << m[1];
    }
    EXPECT_GT(seen, 40);
    EXPECT_EQ(korvex_test::runProcess({"/bin/bash", "-n", std::string(KORVEX_SOURCE_DIR) +
                                                               "/packaging/bash-completion/Korvex_Console"})
                  .exitCode,
              0);
}

}  // namespace

namespace {

// docs/parts.md is what the build makes from the catalogue, so it cannot go stale unnoticed.
TEST(PartsDocument, CommittedFileIsWhatTheBuildGenerates)
{
    std::ifstream built(std::string(KORVEX_BIN_DIR) + "/../docs/parts.md");
    std::stringstream text;
    text << built.rdbuf();
    EXPECT_FALSE(text.str().empty());
    EXPECT_TRUE(text.str() == ReadSourceFile("docs/parts.md"))
        << "docs/parts.md is stale: copy build/docs/parts.md over it";
}

}  // namespace
