#include "option_test.h"

#include <gtest/gtest.h>

#include <string>

TEST(OptionTest, IsCaseSensitiveAndExact)
{
    for (const char* text : {"-D", "-Connect", "-CONNECT", "-connect ", " -r", "-", "", "--all", "-e1", "-?-?",
                             "-mem8", "-w8", "connect", "-y", "--y"})
        EXPECT_FALSE(IsOption(text)) << '"' << text << '"';
    EXPECT_FALSE(IsOption(nullptr));
}

TEST(SubOptionTest, AcceptsTheTwentySevenSubOptionsInAnyCaseAndNothingElse)
{
    for (std::string subOption : {"--all", "--sec", "--efap1", "--efap2", "--dfap", "--depp", "--eepp", "--ebfap",
                                  "--dbfap", "--a", "--addr", "--fn", "--v", "--set", "--get", "--ft", "--fs", "--fda",
                                  "--remap", "--flash", "--spim", "--main", "--nvr", "--rdn", "--key", "--bootm", "--ne"}) {
        EXPECT_TRUE(IsSubOption(subOption.c_str()) && !IsOption(subOption.c_str())) << subOption;
        for (char& c : subOption)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(IsSubOption(subOption.c_str())) << subOption;
    }
    EXPECT_TRUE(IsSubOption("--Fn"));
    for (const char* text : {"--y", "--Y", "-fn", "---fn", "--fn ", "fn", "0-20", "app.hex", "", "-e", "--"})
        EXPECT_FALSE(IsSubOption(text)) << '"' << text << '"';
    EXPECT_FALSE(IsSubOption(nullptr));
}
