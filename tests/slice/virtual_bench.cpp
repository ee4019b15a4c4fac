#include "virtual_bench.h"

#include "target/ble_module.h"
#include "target/target_mcu.h"
#include "usb/preload.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace slice_test {

const ksim::Settings kHidProbe = {{"transport", "hid"}};
const ksim::Settings kApModeTarget = {{"transport", "hid"}, {"series", "9"}, {"pid", "09001081"}, {"ap_mode", "1"}};
const ksim::Settings kBleTarget = {{"transport", "hid"}, {"series", "17"}, {"pid", "110022C5"},
                                   {"hw_version", "11"}, {"ble", "1"}};

ksim::Settings operator+(ksim::Settings a, const ksim::Settings& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

namespace {
std::string Banner()
{
    std::ifstream file(std::string(KORVEX_SOURCE_DIR) + "/tests/app/golden/banner.txt", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
} // namespace

VirtualBench::VirtualBench(const ksim::Settings& settings, size_t probes)
{
    for (size_t i = 0; i < probes; ++i) {
        ksim::Settings own = settings;
        own.emplace_back("serial", "KV000000000" + std::to_string(i + 1));
        testbed_.addProbe(own);
    }
}

ConsoleRun VirtualBench::console(const std::vector<std::string>& arguments, int timeoutMs)
{
    std::vector<std::string> argv = launcher;
    argv.push_back(korvex_test::builtProgram("Korvex_Console"));
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    korvex_test::ProcessOptions options;
    options.env = ksim::preloadEnvironment(testbed_.rootDir());
    options.env.insert(environment.begin(), environment.end());
    options.timeoutMs = timeoutMs;
    const korvex_test::ProcessResult result = korvex_test::runProcess(argv, options);
    static const std::string banner = Banner();
    ConsoleRun run;
    run.exitCode = result.exitCode;
    run.timedOut = result.timedOut;
    run.err = result.err;
    if (result.out.compare(0, banner.size(), banner) == 0)
        run.out = result.out.substr(banner.size());
    else
        run.out = "(no banner)\n" + result.out;
    return run;
}

std::vector<uint8_t> VirtualBench::mainFlash(uint32_t address, uint32_t length)
{
    return testbed_.withProbe(0, [&](ksim::VirtualProbe& p) {
        return p.target().mainFlash().read(address - ksim::TargetMcu::kFlashBase, length);
    });
}

std::vector<uint8_t> VirtualBench::bootMemory(uint32_t offset, uint32_t length)
{
    return testbed_.withProbe(0, [&](ksim::VirtualProbe& p) { return p.target().bootMemory().read(offset, length); });
}

std::vector<uint8_t> VirtualBench::spim(uint32_t address, uint32_t length)
{
    return testbed_.withProbe(0, [&](ksim::VirtualProbe& p) {
        return p.target().spim().read(address - ksim::TargetMcu::kSpimBase, length);
    });
}

std::vector<uint8_t> VirtualBench::bleMain(uint32_t address, uint32_t length)
{
    return testbed_.withProbe(0, [&](ksim::VirtualProbe& p) { return p.ble().space(0).read(address, length); });
}

void VirtualBench::fillEverything(uint8_t value)
{
    testbed_.withProbe(0, [&](ksim::VirtualProbe& p) {
        ksim::TargetMcu& target = p.target();
        target.mainFlash().fill(0, target.mainFlash().size(), value);
        target.bootMemory().fill(0, target.bootMemory().size(), value);
        target.spim().fill(0, target.spim().size(), value);
        for (uint8_t space = 0; space < ksim::BleModule::SpaceCount; ++space)
            p.ble().space(space).fill(0, p.ble().space(space).size(), value);
    });
}

std::vector<ksim::Exchange> VirtualBench::exchanges()
{
    return testbed_.withProbe(0, [](ksim::VirtualProbe& p) { return p.exchangeLog(); });
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "korvex-slice-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    dir_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const
{
    const std::string file = path(name);
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

namespace {
std::string Record(uint8_t type, uint16_t address, const uint8_t* data, size_t length)
{
    char text[16];
    std::string line = ":";
    unsigned sum = static_cast<unsigned>(length) + (address >> 8) + (address & 0xFF) + type;
    std::snprintf(text, sizeof text, "%02X%04X%02X", static_cast<unsigned>(length), address, type);
    line += text;
    for (size_t i = 0; i < length; ++i) {
        std::snprintf(text, sizeof text, "%02X", data[i]);
        line += text;
        sum += data[i];
    }
    std::snprintf(text, sizeof text, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
    return line + text;
}
} // namespace

std::string IntelHex(const std::vector<Segment>& segments)
{
    std::string text;
    for (const Segment& segment : segments) {
        uint32_t upper = 0xFFFFFFFF;
        for (size_t offset = 0; offset < segment.bytes.size(); offset += 16) {
            const uint32_t address = segment.address + static_cast<uint32_t>(offset);
            const size_t length = std::min<size_t>(16, segment.bytes.size() - offset);
            // A record never crosses a 64 KiB boundary: the segments used here start 16-byte aligned.
            if (address >> 16 != upper) {
                upper = address >> 16;
                const uint8_t high[2] = {static_cast<uint8_t>(upper >> 8), static_cast<uint8_t>(upper)};
                text += Record(0x04, 0, high, 2);
            }
            text += Record(0x00, static_cast<uint16_t>(address), segment.bytes.data() + offset, length);
        }
    }
    return text + ":00000001FF\n";
}

std::vector<uint8_t> Pattern(size_t length, uint32_t seed)
{
    std::vector<uint8_t> bytes(length);
    uint32_t state = seed * 2654435761u + 1;
    for (uint8_t& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 16);
    }
    return bytes;
}

std::vector<Segment> ParseIntelHex(const std::string& text)
{
    std::vector<Segment> segments;
    std::istringstream lines(text);
    std::string line;
    uint32_t upper = 0;
    while (std::getline(lines, line)) {
        if (line.size() < 11 || line[0] != ':')
            continue;
        auto byteAt = [&](size_t i) { return static_cast<uint8_t>(std::stoul(line.substr(1 + 2 * i, 2), nullptr, 16)); };
        const uint8_t length = byteAt(0);
        const uint32_t address = static_cast<uint32_t>(byteAt(1) << 8 | byteAt(2));
        const uint8_t type = byteAt(3);
        if (type == 0x04) {
            upper = static_cast<uint32_t>(byteAt(4) << 8 | byteAt(5)) << 16;
        } else if (type == 0x00) {
            Segment segment{upper | address, {}};
            for (size_t i = 0; i < length; ++i)
                segment.bytes.push_back(byteAt(4 + i));
            segments.push_back(segment);
        }
    }
    return segments;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace slice_test
