// bench_hex_load: Intel HEX to binary image, whole process against whole process. The console's
// own readers (image_to_binary), objcopy -I ihex -O binary and srec_cat each read the same file
// and write the binary image to a RAM-backed file; rounds interleave the three in a rotating
// order, and every figure is a median over the rounds with its spread (lowest-highest).
// Three image shapes at 1 and 16 MiB: no gaps, sparse gaps (1 KiB per 64 KiB), dense gaps
// (16 bytes per KiB). Then the peak resident memory of a real Korvex_Console -connect -d of each
// file under korvex-sim, against its limit (image + 16 MB), and of a file whose every record
// starts a new part.
//
//   bench_hex_load [--rounds N] [--sizes 1,16] [--many-parts N]
//   bench_hex_load --peak-rss FILE -- PROGRAM [ARGS...]   (runs PROGRAM, writes its peak RSS in KiB)
#include "intel_hex_records.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kImageAddress = 0x08000000;
constexpr uint32_t kMiB = 1024 * 1024;
constexpr int kMinimumRounds = 7;

struct Shape {
    const char* name;
    uint32_t gapEvery; // a gap of gapSize bytes ends every gapEvery bytes (0: no gaps)
    uint32_t gapSize;
};
const Shape kShapes[] = {{"no gaps", 0, 0}, {"sparse gaps", 0x10000, 1024}, {"dense gaps", 1024, 16}};

struct Child {
    int exitCode = -1;
    double seconds = 0;
    long peakKib = 0;
};

// Runs a program to its end: exit code, wall time, peak resident memory.
Child Run(const std::vector<std::string>& argv, bool quiet = true)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    Child child;
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return child;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    child.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    child.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    child.peakKib = usage.ru_maxrss;
    return child;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

// An image of span bytes at kImageAddress in 16-byte records, without the bytes of the gaps.
std::string ShapedHex(uint32_t span, const Shape& shape)
{
    std::string text;
    text.reserve(span / 16 * 44 + 64);
    uint32_t state = span + shape.gapEvery;
    uint8_t record[16];
    for (uint32_t offset = 0; offset < span; offset += 16) {
        const uint32_t address = kImageAddress + offset;
        if ((address & 0xFFFF) == 0)
            AppendAddressRecord(text, HEX_RECORD_EXTENDED_LINEAR_ADDRESS, static_cast<uint16_t>(address >> 16), "\n");
        if (shape.gapEvery != 0 && offset % shape.gapEvery >= shape.gapEvery - shape.gapSize)
            continue;
        for (uint8_t& byte : record) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<uint8_t>(state >> 16);
        }
        AppendHexRecord(text, HEX_RECORD_DATA, static_cast<uint16_t>(address), record, sizeof record, "\n");
    }
    return text + HEX_END_OF_FILE_RECORD;
}

// count one-byte records, each two bytes past the one before: every record starts a new part.
// They lie past the 256 KB flash of the default virtual target, which loads them, then refuses them.
std::string ManyPartsHex(uint32_t count)
{
    std::string text;
    uint32_t upper = 0xFFFFFFFF;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t address = kImageAddress + 0x40000 + 2 * i;
        if (address >> 16 != upper) {
            upper = address >> 16;
            AppendAddressRecord(text, HEX_RECORD_EXTENDED_LINEAR_ADDRESS, static_cast<uint16_t>(upper), "\n");
        }
        const uint8_t byte = static_cast<uint8_t>(i);
        AppendHexRecord(text, HEX_RECORD_DATA, static_cast<uint16_t>(address), &byte, 1, "\n");
    }
    return text + HEX_END_OF_FILE_RECORD;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Spread(const std::vector<double>& values, double scale, const char* format)
{
    char text[64];
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    std::snprintf(text, sizeof text, format, *low * scale, *high * scale);
    return text;
}

std::string BinDir()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    return self.substr(0, self.rfind('/'));
}

struct Tool {
    const char* name;
    std::vector<std::string> argv; // IN and OUT stand for the HEX file and the binary image
};

std::vector<std::string> Bind(const std::vector<std::string>& argv, const std::string& in, const std::string& out)
{
    std::vector<std::string> bound;
    for (const std::string& a : argv)
        bound.push_back(a == "IN" ? in : a == "OUT" ? out : a);
    return bound;
}

// One shape and size: rounds of the three tools in rotating order. False when an output differs.
bool CompareLoaders(const std::string& dir, const std::string& hexPath, uint32_t span, const Shape& shape, int rounds,
                    const std::vector<Tool>& tools, std::vector<std::string>& verdicts)
{
    std::vector<std::vector<double>> seconds(tools.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < tools.size(); ++k) {
            const size_t t = (k + static_cast<size_t>(round)) % tools.size();
            const std::string out = dir + "/out-" + std::to_string(t) + ".bin";
            const Child child = Run(Bind(tools[t].argv, hexPath, out));
            if (child.exitCode != 0) {
                std::fprintf(stderr, "%s failed on %s\n", tools[t].name, hexPath.c_str());
                return false;
            }
            seconds[t].push_back(child.seconds);
        }
        if (round == 0) {
            const std::string ours = ReadFile(dir + "/out-0.bin");
            for (size_t t = 1; t < tools.size(); ++t)
                if (ReadFile(dir + "/out-" + std::to_string(t) + ".bin") != ours) {
                    std::fprintf(stderr, "%s and %s wrote different images\n", tools[0].name, tools[t].name);
                    return false;
                }
        }
    }
    std::printf("%2u MiB %-11s", span / kMiB, shape.name);
    std::printf("  %s %7.1f ms (%s)", tools[0].name, Median(seconds[0]) * 1e3,
                Spread(seconds[0], 1e3, "%.1f-%.1f").c_str());
    for (size_t t = 1; t < tools.size(); ++t) {
        std::vector<double> ratios;
        for (size_t r = 0; r < seconds[0].size(); ++r)
            ratios.push_back(seconds[t][r] / seconds[0][r]);
        const double ratio = Median(ratios);
        std::printf("  %s %7.1f ms = %5.2fx (%s)", tools[t].name, Median(seconds[t]) * 1e3, ratio,
                    Spread(ratios, 1, "%.2f-%.2f").c_str());
        // The goals: 3x objcopy and 10x srec_cat at 16 MiB; ahead of both at 1 MiB.
        const double goal = span >= 16 * kMiB ? (t == 1 ? 3 : 10) : 1;
        if (ratio < goal) {
            char line[128];
            std::snprintf(line, sizeof line, "%u MiB %s: %.2fx %s, goal %.0fx", span / kMiB, shape.name, ratio,
                          tools[t].name, goal);
            verdicts.push_back(line);
        }
    }
    std::printf("\n");
    return true;
}

// Peak resident memory of Korvex_Console -connect -d FILE under korvex-sim, in KiB.
long PeakOfDownload(const std::string& dir, const std::string& hexPath, int& exitCode)
{
    const std::string bin = BinDir();
    const std::string report = dir + "/peak.txt";
    const Child sim = Run({bin + "/korvex-sim", "--", bin + "/bench_hex_load", "--peak-rss", report, "--",
                           bin + "/Korvex_Console", "-connect", "-d", "--fn", hexPath});
    exitCode = sim.exitCode;
    return std::atol(ReadFile(report).c_str());
}

void ReportPeak(const char* what, long peakKib, double limitMb, int exitCode, std::vector<std::string>& verdicts)
{
    const double peakMb = peakKib * 1024.0 / 1e6;
    std::printf("  %-32s peak %7.1f MB, limit %7.1f MB (exit %d)\n", what, peakMb, limitMb, exitCode);
    if (peakKib <= 0 || peakMb > limitMb)
        verdicts.push_back(std::string(what) + ": peak memory over its limit");
}

int PeakRssMode(int argc, char** argv)
{
    if (argc < 5 || std::strcmp(argv[3], "--") != 0)
        return 2;
    const Child child = Run(std::vector<std::string>(argv + 4, argv + argc), false);
    WriteFile(argv[2], std::to_string(child.peakKib));
    return child.exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--peak-rss") == 0)
        return PeakRssMode(argc, argv);
    int rounds = kMinimumRounds;
    std::vector<uint32_t> sizes = {1, 16};
    uint32_t manyParts = 16000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(kMinimumRounds, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--many-parts") == 0)
            manyParts = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        else if (std::strcmp(argv[i], "--sizes") == 0) {
            sizes.clear();
            for (const char* p = argv[i + 1]; *p; p += *p == ',')
                sizes.push_back(static_cast<uint32_t>(std::strtoul(p, const_cast<char**>(&p), 10)));
        }
    }

    char pattern[] = "/dev/shm/bench_hex_load.XXXXXX";
    if (!mkdtemp(pattern)) {
        std::fprintf(stderr, "no directory in /dev/shm\n");
        return 1;
    }
    const std::string dir = pattern;
    const std::vector<Tool> tools = {
        {"ours", {BinDir() + "/image_to_binary", "IN", "OUT"}},
        {"objcopy", {"/usr/bin/objcopy", "-I", "ihex", "-O", "binary", "IN", "OUT"}},
        {"srec_cat", {"/usr/bin/srec_cat", "IN", "-intel", "-offset", "-0x08000000", "-o", "OUT", "-binary"}},
    };
    std::printf("Whole processes, HEX file and binary image in %s; %d rounds, rotating order;\n", dir.c_str(), rounds);
    std::printf("medians, spread lowest-highest; ratios are the other tool's time / ours, per round.\n");

    std::vector<std::string> verdicts;
    struct PeakRow {
        std::string what;
        long peakKib;
        double limitMb;
        int exitCode;
    };
    std::vector<PeakRow> peaks;
    bool ok = true;
    for (uint32_t mib : sizes) {
        for (const Shape& shape : kShapes) {
            const std::string hexPath = dir + "/image.hex";
            if (!WriteFile(hexPath, ShapedHex(mib * kMiB, shape)))
                return 1;
            ok = CompareLoaders(dir, hexPath, mib * kMiB, shape, rounds, tools, verdicts) && ok;
            int exitCode = -1;
            const long peak = PeakOfDownload(dir, hexPath, exitCode);
            peaks.push_back({std::to_string(mib) + " MiB " + shape.name, peak, (mib * kMiB + 16e6) / 1e6, exitCode});
        }
    }
    if (manyParts > 0) {
        const std::string hexPath = dir + "/parts.hex";
        const std::string text = ManyPartsHex(manyParts);
        WriteFile(hexPath, text);
        int exitCode = -1;
        const long peak = PeakOfDownload(dir, hexPath, exitCode);
        char what[96];
        std::snprintf(what, sizeof what, "%u one-byte parts (%.1f MB)", manyParts, text.size() / 1e6);
        peaks.push_back({what, peak, manyParts <= 16000 ? 32.0 : 400.0, exitCode});
    }
    std::printf("\nPeak resident memory of Korvex_Console -connect -d (default virtual target, 256 KB flash:\n"
                "images beyond it are loaded, then refused; limit: image + 16 MB, 32 MB for 16,000 parts):\n");
    for (const PeakRow& row : peaks)
        ReportPeak(row.what.c_str(), row.peakKib, row.limitMb, row.exitCode, verdicts);
    Run({"/bin/rm", "-rf", dir});

    std::printf("\n%s\n", verdicts.empty() && ok ? "All goals met." : "Goals missed:");
    for (const std::string& v : verdicts)
        std::printf("  %s\n", v.c_str());
    return ok ? 0 : 1;
}
