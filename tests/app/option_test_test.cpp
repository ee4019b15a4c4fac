#include "option_test.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const char* const kSubOptions[] = {
    "--all", "--sec", "--efap1", "--efap2", "--dfap", "--depp", "--eepp", "--ebfap", "--dbfap",
    "--a", "--addr", "--fn", "--v", "--set", "--get", "--ft", "--fs", "--fda", "--remap",
    "--flash", "--spim", "--main", "--nvr", "--rdn", "--key", "--bootm", "--ne",
};
} // namespace

TEST(OptionTest, IsCaseSensitiveAndExact)
{
    for (const char* text : {"-D", "-Connect", "-CONNECT", "-connect ", " -r", "-", "", "--all", "-e1", "-?-?",
                             "-mem8", "-w8", "connect", "-y", "--y"}) {
        EXPECT_FALSE(IsOption(text)) << '"' << text << '"';
    }
    EXPECT_FALSE(IsOption(nullptr));
}

TEST(SubOptionTest, AcceptsTheTwentySevenSubOptionsInAnyCase)
{
    for (const char* subOption : kSubOptions) {
        EXPECT_TRUE(IsSubOption(subOption)) << subOption;
        EXPECT_FALSE(IsOption(subOption)) << subOption;
        std::string upper = subOption;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(IsSubOption(upper.c_str())) << upper;
    }
    EXPECT_TRUE(IsSubOption("--Fn"));
}

TEST(SubOptionTest, RejectsValuesOptionsAndTheConfirmationWord)
{
    for (const char* text : {"--y", "--Y", "-fn", "---fn", "--fn ", "fn", "0-20", "app.hex", "", "-e", "--"})
        EXPECT_FALSE(IsSubOption(text)) << '"' << text << '"';
    EXPECT_FALSE(IsSubOption(nullptr));
}
