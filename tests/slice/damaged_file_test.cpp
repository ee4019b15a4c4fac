// A damaged image file is refused whole, before the probe is asked to erase or write anything:
// the run sends only what -connect sends, and the flash keeps what it held. The good file downloads.
#include "virtual_bench.h"

namespace slice_test {
namespace {

const std::string kGood = IntelHex({{kFlash, Pattern(48, 20)}});
const size_t kEnd = kGood.rfind(":00000001FF");

std::string Changed(size_t at, char c)
{
    std::string text = kGood;
    text[at] = c;
    return text;
}

Scenario Damaged(const char* name, const std::string& content)
{
    Scenario s{name, kHidProbe, {"-connect", "-d", "--fn", "FILE", "--v"},
               kConnectDefault + "Download file opening......\nFile format error, please reselect!\nError. Open file failed!\n", 3,
               {{kFlash, kFlashSize, 0x00}}};
    s.content = content;
    s.checks = {[](RowRun& row) { EXPECT_EQ(row.bench.exchanges().size(), 6u); }}; // -connect's
    return s;
}

const Scenario kFiles[] = {
    Damaged("Empty", ""),
    Damaged("NoEndRecord", kGood.substr(0, kEnd)),
    Damaged("Cut", kGood.substr(0, kEnd - 6)),
    Damaged("RecordType06", Changed(kGood.rfind(':', kEnd - 1) + 8, '6')),
    Damaged("WrongChecksum", Changed(kEnd - 2, kGood[kEnd - 2] == '0' ? '1' : '0')),
    {"Good", kHidProbe, {"-connect", "-d", "--fn", "FILE"}, kConnectDefault + kOpened + kErased + kWritten + kDone, 0, {},
     {{kFlash, Pattern(48, 20)}}, true},
};
INSTANTIATE_TEST_SUITE_P(DownloadDamaged, ScenarioRun, testing::ValuesIn(kFiles), ScenarioName);

}  // namespace
}  // namespace slice_test
