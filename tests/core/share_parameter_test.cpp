#include "share_parameter.h"

#include <gtest/gtest.h>

#include <climits>

TEST(NumberText, StringToInt32ReadsLikeStrtollAndKeepsTheLow32Bits)
{
    EXPECT_EQ(ShareParameter::StringToInt32("12abc", 10), 12);
    EXPECT_EQ(ShareParameter::StringToInt32("  -5", 10), -5);
    EXPECT_EQ(ShareParameter::StringToInt32("+7", 10), 7);
    EXPECT_EQ(ShareParameter::StringToInt32("0x1A", 16), 0x1A);
    EXPECT_EQ(ShareParameter::StringToInt32("1a", 16), 0x1A);
    EXPECT_EQ(ShareParameter::StringToInt32("", 10), 0);
    EXPECT_EQ(ShareParameter::StringToInt32("zz", 16), 0);
    EXPECT_EQ(ShareParameter::StringToInt32("ffffffff", 16), -1);
    EXPECT_EQ(ShareParameter::StringToInt32("123456789A", 16), 0x3456789A);
    EXPECT_EQ(ShareParameter::StringToInt32("4294967297", 10), 1);
}

TEST(NumberText, StringToUInt32ReadsLikeStrtollAndKeepsTheLow32Bits)
{
    EXPECT_EQ(ShareParameter::StringToUInt32("ffffffff", 16), 0xFFFFFFFFu);
    EXPECT_EQ(ShareParameter::StringToUInt32("0x08000000", 16), 0x08000000u);
    EXPECT_EQ(ShareParameter::StringToUInt32("8004000", 16), 0x08004000u);
    EXPECT_EQ(ShareParameter::StringToUInt32("5c3e91b7", 16), 0x5C3E91B7u);
    EXPECT_EQ(ShareParameter::StringToUInt32("-1", 10), 0xFFFFFFFFu);
    EXPECT_EQ(ShareParameter::StringToUInt32("20000000xyz", 16), 0x20000000u);
    EXPECT_EQ(ShareParameter::StringToUInt32("junk", 16), 0u);
}

TEST(NumberText, IntParseReadsDecimalLeadingDigits)
{
    EXPECT_EQ(ShareParameter::IntParse("42x"), 42);
    EXPECT_EQ(ShareParameter::IntParse("-7"), -7);
    EXPECT_EQ(ShareParameter::IntParse("abc"), 0);
    EXPECT_EQ(ShareParameter::IntParse("0x10"), 0);
    EXPECT_EQ(ShareParameter::IntParse("010"), 10);
}

TEST(NumberText, IntToHexStringPadsCutsFromTheLeftAndUpperCases)
{
    EXPECT_EQ(ShareParameter::IntToHexString(0x1A, 8), "0000001A");
    EXPECT_EQ(ShareParameter::IntToHexString(0x08000000, 8), "08000000");
    EXPECT_EQ(ShareParameter::IntToHexString(255, 2), "FF");
    EXPECT_EQ(ShareParameter::IntToHexString(-1, 8), "FFFFFFFF");
    EXPECT_EQ(ShareParameter::IntToHexString(0, 4), "0000");
    EXPECT_EQ(ShareParameter::IntToHexString(0x12345, 4), "2345");
    EXPECT_EQ(ShareParameter::IntToHexString(0xABCDEF, 1), "F");
    EXPECT_EQ(ShareParameter::IntToHexString(5, 0), "");
    EXPECT_EQ(ShareParameter::IntToHexString(5, -3), "");
    EXPECT_EQ(ShareParameter::IntToHexString(-1, 10), "00FFFFFFFF");
    EXPECT_EQ(ShareParameter::IntToHexString(INT_MIN, 8), "80000000");
}

TEST(CaseText, ToUpperAndToLowerConvertEveryAsciiLetterOnly)
{
    EXPECT_EQ(ShareParameter::ToLower("--FN"), "--fn");
    EXPECT_EQ(ShareParameter::ToLower("--Key"), "--key");
    EXPECT_EQ(ShareParameter::ToUpper("5c3e91b7"), "5C3E91B7");
    EXPECT_EQ(ShareParameter::ToUpper("name.zrtp"), "NAME.ZRTP");
    EXPECT_EQ(ShareParameter::ToLower("flash\xA1\xA2SPIM"), "flash\xA1\xA2spim");
    EXPECT_EQ(ShareParameter::ToUpper(""), "");
}

TEST(SplitLength, CutsTheTrimmedTextIntoPiecesWithAShorterLastOne)
{
    EXPECT_EQ(ShareParameter::SplitLength("  ABCDEFG \t", 3), (QStringList{"ABC", "DEF", "G"}));
    EXPECT_EQ(ShareParameter::SplitLength("ABCDEF", 3), (QStringList{"ABC", "DEF"}));
    EXPECT_EQ(ShareParameter::SplitLength("1A2B3C4D", 2), (QStringList{"1A", "2B", "3C", "4D"}));
    EXPECT_EQ(ShareParameter::SplitLength("AB", 5), (QStringList{"AB"}));
}

TEST(SplitLength, CountsCharactersOfTheUtf8TextNotBytes)
{
    const QStringList pieces = ShareParameter::SplitLength("\xC3\x84\xC3\x96\xC3\x9C", 2);
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_EQ(pieces[0], QString::fromUtf8("\xC3\x84\xC3\x96"));
    EXPECT_EQ(pieces[1], QString::fromUtf8("\xC3\x9C"));
}

TEST(SplitLength, GivesNothingForBlankTextOrANonPositiveLength)
{
    EXPECT_TRUE(ShareParameter::SplitLength("", 3).isEmpty());
    EXPECT_TRUE(ShareParameter::SplitLength("   ", 3).isEmpty());
    EXPECT_TRUE(ShareParameter::SplitLength("ABC", 0).isEmpty());
    EXPECT_TRUE(ShareParameter::SplitLength("ABC", -1).isEmpty());
}

TEST(FlashSizeText, GetFlashSizeReadsKilobytesBeforeKB)
{
    ShareParameter shared;
    const std::pair<const char*, uint32_t> cases[] = {
        {"256KB", 262144}, {"0KB", 0}, {"", 0}, {"1024", 1048576}, {"5120KB", 5242880},
        {"16KBKB", 16384}, {"KB", 0}, {"abc", 0},
    };
    for (const auto& [text, bytes] : cases) {
        shared.flashSizeText = text;
        EXPECT_EQ(shared.GetFlashSize(), bytes) << text;
    }
}
