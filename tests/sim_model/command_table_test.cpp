// Invariants of the firmware's command tables, so that a new row cannot shadow another or describe
// itself wrongly in the diagnostics.
#include <set>

#include "probe/firmware.h"
#include "probe/packet.h"
#include "probe_harness.h"

namespace ksim::test {
namespace {

TEST(CommandTables, GroupsAndRowsAreUniqueAndTheirLayoutTextsNameThem)
{
    size_t count = 0;
    const CommandGroup *const *groups = firmwareGroups(count);
    ASSERT_EQ(count, 19u);
    std::set<uint8_t> seenGroups;
    for (size_t g = 0; g < count; ++g) {
        const CommandGroup &group = *groups[g];
        EXPECT_TRUE(seenGroups.insert(group.cmd).second) << "group " << hexByte(group.cmd) << " twice";
        std::set<uint8_t> seenRows;
        for (const CommandGroup *part = &group; part; part = part->more) {
            EXPECT_EQ(part->cmd, group.cmd);
            for (size_t i = 0; i < part->count; ++i) {
                const CommandRow &row = part->rows[i];
                SCOPED_TRACE(hexByte(group.cmd) + "." + hexByte(row.sub) + " " + row.name);
                for (unsigned sub = row.sub; sub < row.sub + row.subCount; ++sub)
                    EXPECT_TRUE(seenRows.insert(static_cast<uint8_t>(sub)).second) << "sub-command " << sub << " twice";
                const std::string text = row.layout.text;
                EXPECT_EQ(text.substr(0, 2), hexByte(group.cmd));
                const std::string second = text.substr(3, 2);
                // "type" for the memory forms, "ix" for the rows that take a code index
                EXPECT_TRUE(second == hexByte(row.sub) || second == "ty" || (second == "ix" && row.subCount > 1)) << text;
                EXPECT_NE(row.handle, nullptr);
            }
        }
    }
}

TEST(CommandTables, ParameterFormsTakeTheirCountByteIntoTheLength)
{
    const Layout layout = param(4, "B0 04 04 speed(4)");
    EXPECT_EQ(expectedLength(layout, hex("B0 04 04 00 00 00 01")), 7u);
    EXPECT_EQ(layout.parameterCount, 4);
    EXPECT_EQ(expectedLength(countBe16(8, 6, "B3"), hex("B3 00 08 00 00 00 00 03 01 02 03")), 11u);
    EXPECT_EQ(expectedLength(countBe16(8, 6, "B3"), hex("B3 00 08 00 00 00 00")), 0u) << "count field cut off";
    EXPECT_EQ(expectedLength(countU8(3, 2, "B0 02"), hex("B0 02 06")), 9u);
}

}  // namespace
}  // namespace ksim::test
