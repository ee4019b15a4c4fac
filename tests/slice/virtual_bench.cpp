#include "virtual_bench.h"

#include "target/ble_module.h"
#include "target/target_mcu.h"
#include "usb/preload.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace slice_test {

ksim::Settings operator+(ksim::Settings a, const ksim::Settings& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

VirtualBench::VirtualBench(const ksim::Settings& settings, size_t probes)
{
    for (size_t i = 0; i < probes; ++i) {
        ksim::Settings own = settings;
        own.emplace_back("serial", "KV000000000" + std::to_string(i + 1));
        testbed_.addProbe(own);
    }
}

ConsoleRun VirtualBench::console(const std::vector<std::string>& arguments, int timeoutMs,
                                 const std::vector<std::string>& launcher)
{
    std::vector<std::string> argv = launcher;
    argv.push_back(korvex_test::builtProgram("Korvex_Console"));
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    korvex_test::ProcessOptions options;
    options.env = ksim::preloadEnvironment(testbed_.rootDir());
    options.env.insert(environment.begin(), environment.end());
    options.timeoutMs = timeoutMs;
    const korvex_test::ProcessResult result = korvex_test::runProcess(argv, options);
    static const std::string banner = ReadFile(KORVEX_SOURCE_DIR "/tests/app/golden/banner.txt");
    const bool bannered = result.out.compare(0, banner.size(), banner) == 0;
    return {bannered ? result.out.substr(banner.size()) : "(no banner)\n" + result.out, result.exitCode, result.timedOut, result.err};
}

std::vector<uint8_t> VirtualBench::read(uint32_t address, uint32_t length)
{
    return testbed_.withProbe(0, [&](ksim::VirtualProbe& p) {
        ksim::TargetMcu& t = p.target();
        if (address < ksim::TargetMcu::kFlashBase)
            return p.ble().space(0).read(address, length);
        if (address < ksim::TargetMcu::kSpimBase)
            return t.mainFlash().read(address - ksim::TargetMcu::kFlashBase, length);
        if (address < 0x10000000)
            return t.spim().read(address - ksim::TargetMcu::kSpimBase, length);
        return t.bootMemory().read(address - t.info().bootAddress, length);
    });
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

std::string AfterConnect(const std::string& out)
{
    const size_t end = out.find("\n\n");
    return end == std::string::npos ? "(not connected) " + out : out.substr(end + 2);
}

std::string ProbeLines(const std::string& name, const std::string& transport, const std::string& firmware)
{
    return "Connect......\n" + name + "  FW: V" + firmware + "    Serials: KV0000000001      " + transport + "\nKorvex connected\n";
}

std::string TargetLines(const std::string& part, const std::string& flash)
{
    return "MCU Part Number:   " + part + "        Flash size: " + flash + "\nMCU connected\n";
}

std::string ConnectLines(const ksim::Settings& settings)
{
    std::string pid;
    bool ble = false;
    for (const auto& [key, value] : settings) {
        pid = key == "pid" ? value : pid;
        ble = key == "ble" ? value == "1" : ble;
    }
    if (ble)
        return ProbeLines("Korvex-EZ BLE") +
               (pid == "11FFF2C5" ? "This version of VKP Programmer does not support the connected MCU.\n" : TargetLines("ZR32S17CEU6", "512KB")) +
               "Bluetooth module connected\n\n";
    if (pid == "19002103")
        return ProbeLines("Korvex-EZ") + TargetLines("ZR32S25K8T6", "64KB") + "\n";
    return pid == "09001081" ? ProbeLines("Korvex-EZ") + TargetLines("ZR32S09F6T6", "32KB") + "\n" : kConnectDefault;
}

std::string Sectors(const std::string& range, bool ok)
{
    return "Flash sector erase......" + range + (ok ? "\nFlash sector erase finished\n" : "\nError. Flash sector erase failed!\n");
}

std::string BleSpace(const std::string& space, bool ok)
{
    return "BLE module " + space + " space erase ......\n" +
           (ok ? "BLE module " + space + " space erase finished!\n" : "Error. BLE module " + space + " space erase failed!\n");
}

std::vector<std::string> AsOrdinaryUser()
{
    if (geteuid() != 0)
        return {};
    return {"/usr/bin/setpriv", "--bounding-set=-dac_override,-dac_read_search", "--inh-caps=-all"};
}

Scenario Connected(const char* name, const ksim::Settings& settings, std::vector<std::string> arguments, const std::string& out,
                   int exitCode, std::vector<Fill> after, std::vector<Segment> image, bool imageInTarget, std::string fileName, uint8_t fill)
{
    arguments.insert(arguments.begin(), "-connect");
    return {name, settings, arguments, ConnectLines(settings) + out, exitCode, after, image, imageInTarget, fileName, fill};
}

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

std::string ScenarioName(const testing::TestParamInfo<Scenario>& info) { return info.param.name; }

void RunScenario(const Scenario& s)
{
    VirtualBench bench(s.settings);
    TempDir files;
    RowRun row{bench, files, s.fileName.empty() ? "" : files.path(s.fileName), {}};
    if (s.before)
        s.before(row);
    else
        bench.fillEverything(s.fill);
    if (!s.image.empty()) {
        const bool binary = s.fileName.size() > 4 && (s.fileName.substr(s.fileName.size() - 4) == ".bin" ||
                                                      s.fileName.substr(s.fileName.size() - 4) == ".BIN");
        const std::vector<uint8_t>& first = s.image.front().bytes;
        files.write(s.fileName, binary ? std::string(first.begin(), first.end()) : IntelHex(s.image));
    } else if (s.content && std::filesystem::is_directory(std::filesystem::path(row.file).parent_path())) {
        files.write(s.fileName, *s.content);
    }
    row.usdBefore = bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.target().userSystemData().image(); });
    std::vector<std::string> arguments = s.arguments;
    for (std::string& argument : arguments) {
        if (argument == "FILE")
            argument = row.file;
        else if (argument.rfind("TEMP/", 0) == 0)
            argument = files.path(argument.substr(5));
    }
    const ConsoleRun run = bench.console(arguments, 30000);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(s.afterConnect ? AfterConnect(run.out) : run.out, s.out);
    EXPECT_EQ(run.exitCode, s.exitCode);
    if (s.imageInTarget) {
        for (const Segment& segment : s.image)
            EXPECT_EQ(bench.read(segment.address, static_cast<uint32_t>(segment.bytes.size())), segment.bytes)
                << std::hex << segment.address;
    }
    for (const Fill& fill : s.after)
        EXPECT_EQ(bench.read(fill.address, fill.length), std::vector<uint8_t>(fill.length, fill.value))
            << std::hex << fill.address << "+" << fill.length;
    const bool toModule =
        std::any_of(s.image.begin(), s.image.end(), [](const Segment& g) { return g.address < ksim::TargetMcu::kFlashBase; });
    if (s.exitCode == 0 && !s.image.empty()) {
        bench.testbed().withProbe(0, [toModule](ksim::VirtualProbe& p) {
            EXPECT_TRUE(toModule ? p.ble().checkCrc() == ksim::BleModule::kCrcMatch : p.ble().storedCrcs().empty()) << toModule;
        });
    }
    for (const RowStep& check : s.checks)
        check(row);
}

void Program(VirtualBench& bench)
{
    bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
        ksim::TargetMcu& t = p.target();
        for (ksim::SparseMemory* m : {&t.mainFlash(), &t.bootMemory(), &t.spim(), &p.ble().space(0)}) {
            const std::vector<uint8_t> bytes = Pattern(m->size(), m->size());
            m->store(0, bytes.data(), m->size());
        }
    });
}

RowStep FileHolds(const std::string& content)
{
    return [content](RowRun& row) {
        if (std::filesystem::exists(row.file)) {
            EXPECT_EQ(ReadFile(row.file), content);
        }
    };
}

RowStep Level(int level)
{
    return [level](RowRun& row) {
        EXPECT_EQ(row.bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.target().protectionLevel(); }), level);
    };
}

std::vector<uint8_t> Objcopied(const std::string& hexFile, const std::string& options)
{
    TempDir oracle;
    const std::string bin = oracle.path("objcopy.bin");
    EXPECT_EQ(std::system(("objcopy -I ihex -O binary " + options + " '" + hexFile + "' '" + bin + "'").c_str()), 0);
    const std::string bytes = ReadFile(bin);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
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

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace slice_test
