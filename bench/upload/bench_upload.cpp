// bench_upload: runs Korvex_Console "-connect -u --sec 0-127 --fn whole.hex" (the whole 256 KB flash of
// the default virtual target, to HEX) against a virtual probe, and reports
//   - the USB exchanges the upload took against the fewest the protocol allows for it,
//   - its wall time against the same number of bare request/reply round trips on the same probe,
//     as the median ratio of interleaved pairs (upload run, bare run), and
//   - the console's peak resident memory against a "-connect"-only run, and against an upload of
//     one sector (what writing any file costs, whatever the range).
// The connection's own exchanges and time are taken out with a -connect-only run of each pair.
// Usage: bench_upload [PAIRS]   (default 3)
#include "KORVEXLIB.h"

#include "target/target_mcu.h"
#include "usb/preload.h"
#include "usb/testbed.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kFlashSize = 256 * 1024; // the default virtual target
constexpr uint32_t kPacketPayload = 56;     // 64-byte reports less the 8-byte memory header
constexpr uint32_t kCallSize = 1024;        // one library read of the link interface

struct ChildRun {
    int exitCode = -1;
    double seconds = 0;
    long peakKb = 0;
    uint64_t exchanges = 0;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

uint64_t Requests(ksim::Testbed& bench)
{
    return bench.withProbe(0, [](ksim::VirtualProbe& p) { return p.requestCount(); });
}

// GNU time reports the console's own peak: a child forked from this process would count this
// process's pages, which it holds until exec, as its own.
constexpr char kTime[] = "/usr/bin/time";

// Runs the console as a child on the testbed's bus, under GNU time for its peak resident set.
ChildRun RunConsole(ksim::Testbed& bench, const std::vector<std::string>& arguments, const std::string& peakFile)
{
    const std::string program = kTime;
    std::vector<std::string> words = {program, "-f", "%M", "-o", peakFile, std::string(KORVEX_BIN_DIR) + "/Korvex_Console"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const std::map<std::string, std::string> env = ksim::preloadEnvironment(bench.rootDir());
    ChildRun run;
    const uint64_t before = Requests(bench);
    const Clock::time_point start = Clock::now();
    std::fflush(stdout); // the child must not write this process's buffered lines again
    const pid_t pid = fork();
    if (pid == 0) {
        for (const auto& [key, value] : env)
            setenv(key.c_str(), value.c_str(), 1);
        if (std::freopen("/dev/null", "w", stdout) == nullptr)
            _exit(126);
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* peak = std::fopen(peakFile.c_str(), "r")) {
        if (std::fscanf(peak, "%ld", &run.peakKb) != 1)
            run.peakKb = 0;
        std::fclose(peak);
    }
    run.exchanges = Requests(bench) - before;
    return run;
}

// count bare round trips from this process on the same probe; their wall time.
double BareRoundTrips(uint64_t count)
{
    KORVEX_Init();
    uint8_t probes = 99;
    tagKORVEXDeviceInfo list{};
    KORVEX_GetKorvexDeviceList(&probes, &list.deviceInfo[0][0]);
    const KORVEX_HANDLE handle = probes == 1 ? KORVEX_Open(nullptr) : KORVEX_INVALID_HANDLE;
    double seconds = -1;
    if (handle != KORVEX_INVALID_HANDLE) {
        uint8_t version[4];
        const Clock::time_point start = Clock::now();
        bool ok = true;
        for (uint64_t i = 0; i < count && ok; ++i)
            ok = KORVEX_GetVersion(handle, 4, version) == 0;
        if (ok)
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        KORVEX_Close(handle);
    }
    KORVEX_Exit();
    return seconds;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "bench_upload: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (!ksim::reexecUnderPreloadIfNeeded(argc, argv))
        return 1;
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 3;
    if (pairs < 1 || pairs > 20)
        return Fail("PAIRS must be 1 to 20");

    ksim::Testbed bench;
    bench.addProbe({{"transport", "hid"}});
    bench.withProbe(0, [](ksim::VirtualProbe& p) {
        std::vector<uint8_t> bytes(kFlashSize);
        uint32_t state = 1;
        for (uint8_t& b : bytes) {
            state = state * 1103515245u + 12345u;
            b = static_cast<uint8_t>(state >> 16);
        }
        p.target().mainFlash().store(0, bytes.data(), kFlashSize);
    });
    char folder[] = "/tmp/bench_upload.XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return Fail("no scratch folder");
    const std::string file = std::string(folder) + "/whole.hex";
    const std::string peak = std::string(folder) + "/peak.txt";
    if (access(kTime, X_OK) != 0)
        return Fail("needs GNU time (/usr/bin/time, Debian package time)");

    const uint64_t minimum = uint64_t{kFlashSize / kCallSize} * ((kCallSize + kPacketPayload - 1) / kPacketPayload);
    std::vector<double> ratios;
    uint64_t exchanges = 0;
    double jobSeconds = 0, bareSeconds = 0;
    long uploadKb = 0, connectKb = 0, oneSectorKb = 0;
    for (int i = 0; i < pairs; ++i) {
        const ChildRun connect = RunConsole(bench, {"-connect"}, peak);
        const ChildRun upload = RunConsole(bench, {"-connect", "-u", "--sec", "0-127", "--fn", file}, peak);
        const ChildRun oneSector = RunConsole(bench, {"-connect", "-u", "--sec", "0", "--fn", file}, peak);
        if (connect.exitCode != 0 || upload.exitCode != 0 || oneSector.exitCode != 0)
            return Fail("the console failed");
        exchanges = upload.exchanges - connect.exchanges;
        jobSeconds = upload.seconds - connect.seconds;
        bareSeconds = BareRoundTrips(exchanges);
        if (bareSeconds <= 0)
            return Fail("bare round trips failed");
        ratios.push_back(jobSeconds / bareSeconds);
        uploadKb = std::max(uploadKb, upload.peakKb);
        connectKb = std::max(connectKb, connect.peakKb);
        oneSectorKb = std::max(oneSectorKb, oneSector.peakKb);
        std::printf("pair %d: upload %.3f s, bare %.3f s, ratio %.4f\n", i + 1, jobSeconds, bareSeconds,
                    jobSeconds / bareSeconds);
    }
    std::remove(file.c_str());
    std::remove(peak.c_str());
    rmdir(folder);

    const double extraKb = static_cast<double>(uploadKb - connectKb);
    std::printf("range                 %u KiB of main flash to Intel HEX\n", kFlashSize / 1024);
    std::printf("exchanges             %llu (after the connection's own)\n", static_cast<unsigned long long>(exchanges));
    std::printf("protocol minimum      %llu (%u-byte payloads in %u-byte reads)\n",
                static_cast<unsigned long long>(minimum), kPacketPayload, kCallSize);
    std::printf("exchanges / minimum   %.4f\n", static_cast<double>(exchanges) / static_cast<double>(minimum));
    std::printf("upload / bare         %.4f (median of %d interleaved pairs)\n", Median(ratios), pairs);
    const double rangeKb = kFlashSize / 1024.0;
    std::printf("peak RSS              %ld KiB upload, %ld KiB -connect only: +%.0f KiB = %.2f x the range\n",
                uploadKb, connectKb, extraKb, extraKb / rangeKb);
    std::printf("                      %ld KiB one-sector upload: the range adds %ld KiB = %.2f x the range\n",
                oneSectorKb, uploadKb - oneSectorKb, static_cast<double>(uploadKb - oneSectorKb) / rangeKb);
    return 0;
}
