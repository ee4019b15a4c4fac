#include "erased_memory.h"

#include <gtest/gtest.h>

namespace {

TEST(ErasedMemory, covers_only_what_was_erased_and_not_written_since)
{
    ErasedMemory erased;
    EXPECT_FALSE(erased.Covers(0x08000000, 1));
    EXPECT_TRUE(erased.Covers(0x08000000, 0));
    erased.NoteErased(0x08000000, 0x800);
    erased.NoteErased(0x08000800, 0x800); // touching sectors merge
    EXPECT_TRUE(erased.Covers(0x08000000, 0x1000));
    EXPECT_FALSE(erased.Covers(0x08000000, 0x1001));
    erased.NoteWritten(0x08000100, 0x10);
    EXPECT_TRUE(erased.Covers(0x08000000, 0x100));
    EXPECT_FALSE(erased.Covers(0x08000000, 0x101));
    EXPECT_FALSE(erased.Covers(0x0800010F, 1));
    EXPECT_TRUE(erased.Covers(0x08000110, 0xEF0));
    erased.NoteErased(0x08000000, 0x1000); // erased again: whole again
    EXPECT_TRUE(erased.Covers(0x08000000, 0x1000));
    erased.NoteWritten(0x07FFFFF0, 0x20); // overlapping the start
    EXPECT_FALSE(erased.Covers(0x08000000, 0x10));
    EXPECT_TRUE(erased.Covers(0x08000010, 0xFF0));
    erased.NoteWritten(0x08000000, 0x2000); // covering everything
    EXPECT_FALSE(erased.Covers(0x08000800, 1));
}

TEST(ErasedMemory, ranges_reach_the_top_of_the_address_space_without_wrapping)
{
    ErasedMemory erased;
    erased.NoteErased(0xFFFFF000, 0x1000);
    EXPECT_TRUE(erased.Covers(0xFFFFF000, 0x1000));
    EXPECT_FALSE(erased.Covers(0xFFFFF000, 0x1001));
    EXPECT_FALSE(erased.Covers(0, 1));
}

} // namespace
