// Independent tools are the oracle: the reader must load what objcopy and srec_cat write. (What the
// writer saves is read back by objcopy end to end, after an upload.)
#include "file_operation.h"
#include "image_test_support.h"
#include "run_process.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace image_test;
using korvex_test::runProcess;

namespace {

const std::string kObjcopy = "/usr/bin/objcopy";
const std::string kSrecCat = "/usr/bin/srec_cat";

std::string Hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

void RunTool(const std::vector<std::string>& argv)
{
    const korvex_test::ProcessResult run = runProcess(argv);
    ASSERT_EQ(run.exitCode, 0) << argv[0] << ": " << run.err;
}

FileInfo LoadHex(const std::string& path, int result = FILE_OPERATION_SUCCESS)
{
    FileInfo info;
    info.path = path;
    EXPECT_EQ(FileOperation().OpenFile(info), result) << path;
    return info;
}

// srec_cat with one binary input per run, each placed at its address.
std::string WriteWithSrecCat(const ScratchDir& dir, const std::vector<ExpectedPart>& runs, int recordLength)
{
    std::vector<std::string> argv = {kSrecCat};
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::string input = dir.Path("run" + std::to_string(i) + ".bin");
        WriteFile(input, runs[i].bytes);
        argv.insert(argv.end(), {input, "-binary", "-offset", Hex(runs[i].start)});
    }
    const std::string output = dir.Path("srec" + std::to_string(recordLength) + ".hex");
    argv.insert(argv.end(), {"-o", output, "-intel", "-obs=" + std::to_string(recordLength)});
    RunTool(argv);
    return output;
}

} // namespace

// Below 1 MiB objcopy addresses with "02" records; the reader needs an "04" record first.
TEST(Interop, HexWrittenByObjcopyLoadsAsTheSourceBytesOrIsRefusedWhenSegmentAddressed)
{
    ScratchDir dir;
    const std::vector<std::pair<uint32_t, size_t>> blocks = {
        {0x08000000, 5000}, {0x0800F000, 0x12345}, {0x1FFFA400, 0x5000}, {0x20000000, 1}, {0x0800FFF8, 16}, {0x10000, 64},
    };
    uint32_t seed = 200;
    for (const auto& [address, size] : blocks) {
        const Bytes bytes = RandomBytes(size, seed++);
        const std::string bin = dir.Path("source.bin"), hex = dir.Path("objcopy.hex");
        WriteFile(bin, bytes);
        RunTool({kObjcopy, "-I", "binary", "-O", "ihex", "--change-addresses", Hex(address), bin, hex});
        SCOPED_TRACE(Hex(address));
        if (address < 0x100000)
            LoadHex(hex, FILE_OPEN_FORMAT_ERROR);
        else
            ExpectParts(LoadHex(hex), SplitAtSegments({{address, bytes}}));
    }
}

// Record lengths of any size, gaps, and runs across segments; a record that srec_cat runs across a
// segment boundary is refused.
TEST(Interop, HexWrittenBySrecCatLoadsAsTheSourceRuns)
{
    ScratchDir dir;
    const std::vector<ExpectedPart> runs = {
        {0x08000000, RandomBytes(300, 300)},    {0x08000200, RandomBytes(100, 301)},
        {0x0800FF00, RandomBytes(0x10200, 302)}, {0x08030010, RandomBytes(33, 303)},
        {0x1FFFF000, RandomBytes(64, 304)},
    };
    for (int recordLength : {8, 16, 32, 64, 128}) {
        SCOPED_TRACE(recordLength);
        ExpectParts(LoadHex(WriteWithSrecCat(dir, runs, recordLength)), SplitAtSegments(runs));
    }
    const std::vector<ExpectedPart> odd = {
        {0x08000003, RandomBytes(1000, 310)}, {0x08001000, RandomBytes(77, 311)}, {0x08020000, RandomBytes(4099, 312)},
    };
    for (int recordLength : {1, 7, 20, 255}) {
        SCOPED_TRACE(recordLength);
        ExpectParts(LoadHex(WriteWithSrecCat(dir, odd, recordLength)), SplitAtSegments(odd));
    }
    const std::string crossing = WriteWithSrecCat(dir, {{0x0800FF00, RandomBytes(0x200, 320)}}, 20);
    ASSERT_NE(ReadText(crossing).find(":14FFF000"), std::string::npos);
    LoadHex(crossing, FILE_OPEN_FORMAT_ERROR);
}
