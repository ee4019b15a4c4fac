// bench_download: the real console, Korvex_Console -connect -d --fn IMAGE --v, as a whole process
// against the virtual probe, and as its floor an exact replay of the same request packets over
// raw libusb (a process of its own that opens the probe, sends each recorded request and waits
// for a reply wherever the console got one). Pairs interleave the two in alternating order;
// figures are medians with their spread (lowest-highest). The exchange count of the job is held
// against the fewest the protocol allows, and beside it the packed lower bound.
//
//   bench_download [--pairs N] [--sizes 64,256,1024]     (image sizes in KiB, at the flash base)
//   bench_download --replay FILE                         (the floor; run by the bench itself)
#include "usb/preload.h"
#include "usb/testbed.h"

#include "KORVEXLIB.h"

#include <libusb.h>

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
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kFlash = 0x08000000;
constexpr uint32_t kSectorSize = 2048;  // ZR32S02CGT6: 1 MiB of main flash in 2 KiB sectors
constexpr uint32_t kPacketPayload = 56; // a 64-byte packet less the 8-byte memory header
constexpr uint32_t kCallSize = 1024;    // bytes per library call of the download engine and of the reads
constexpr uint64_t kConnectExchanges = 6;
constexpr int kMinimumPairs = 5;
const ksim::Settings kLargeFlashTarget = {{"transport", "hid"}, {"series", "2"}, {"pid", "02043345"}};

uint64_t Packets(uint64_t length)
{
    return (length + kPacketPayload - 1) / kPacketPayload;
}

// The fewest exchanges that move length bytes in library calls of kCallSize bytes each.
uint64_t PacketsInCalls(uint64_t length)
{
    return length / kCallSize * Packets(kCallSize) + Packets(length % kCallSize);
}

std::string BinDir()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    return self.substr(0, self.rfind('/'));
}

// Runs a program with the preload aimed at the testbed; its wall time, or a negative number on failure.
double TimedRun(const std::vector<std::string>& argv, const std::string& testbedRoot)
{
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
        environment.emplace_back(*e);
    for (const auto& [key, value] : ksim::preloadEnvironment(testbedRoot)) {
        environment.erase(std::remove_if(environment.begin(), environment.end(),
                                         [&key = key](const std::string& e) { return e.rfind(key + "=", 0) == 0; }),
                          environment.end());
        environment.push_back(key + "=" + value);
    }
    std::vector<char*> args, envp;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : environment)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

// Intel HEX of size pseudo-random bytes at the flash base, 16-byte records.
std::string ImageHex(uint32_t size)
{
    std::string text;
    char line[64];
    uint32_t state = size;
    for (uint32_t offset = 0; offset < size; offset += 16) {
        const uint32_t address = kFlash + offset;
        if ((address & 0xFFFF) == 0 || offset == 0) {
            const unsigned upper = address >> 16;
            std::snprintf(line, sizeof line, ":02000004%04X%02X\n", upper,
                          (0x100 - ((6 + (upper >> 8) + (upper & 0xFF)) & 0xFF)) & 0xFF);
            text += line;
        }
        const uint32_t count = std::min<uint32_t>(16, size - offset);
        unsigned sum = count + (address >> 8 & 0xFF) + (address & 0xFF);
        std::snprintf(line, sizeof line, ":%02X%04X00", count, address & 0xFFFF);
        text += line;
        for (uint32_t i = 0; i < count; ++i) {
            state = state * 1103515245u + 12345u;
            const unsigned byte = state >> 16 & 0xFF;
            std::snprintf(line, sizeof line, "%02X", byte);
            text += line;
            sum += byte;
        }
        std::snprintf(line, sizeof line, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
        text += line;
    }
    return text + ":00000001FF\n";
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The replay file: per exchange one byte "a reply came", one byte of length, the request bytes.
bool WriteReplay(const std::string& path, const std::vector<ksim::Exchange>& exchanges)
{
    std::ofstream out(path, std::ios::binary);
    for (const ksim::Exchange& e : exchanges) {
        if (e.index == 0 || e.request.size() > 255)
            continue; // an unsolicited report has no request to replay
        out.put(e.reply ? 1 : 0);
        out.put(static_cast<char>(e.request.size()));
        out.write(reinterpret_cast<const char*>(e.request.data()), static_cast<std::streamsize>(e.request.size()));
    }
    return static_cast<bool>(out);
}

// The floor: the same packets over raw libusb, on the probe's first interface.
int Replay(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    libusb_context* context = nullptr;
    if (libusb_init(&context) != 0)
        return 1;
    libusb_device_handle* handle = libusb_open_device_with_vid_pid(context, KORVEX_USB_VID, KORVEX_USB_PID);
    libusb_config_descriptor* config = nullptr;
    int status = 1;
    if (handle && libusb_get_active_config_descriptor(libusb_get_device(handle), &config) == 0) {
        const libusb_interface_descriptor& alt = config->interface[0].altsetting[0];
        uint8_t in = 0, out = 0;
        for (int i = 0; i < alt.bNumEndpoints; ++i)
            (alt.endpoint[i].bEndpointAddress & LIBUSB_ENDPOINT_IN ? in : out) = alt.endpoint[i].bEndpointAddress;
        libusb_set_auto_detach_kernel_driver(handle, 1);
        if (libusb_claim_interface(handle, alt.bInterfaceNumber) == 0) {
            status = 0;
            uint8_t packet[256], reply[64];
            for (size_t at = 0; status == 0 && at + 2 <= data.size();) {
                const bool replied = data[at] != 0;
                const auto length = static_cast<uint8_t>(data[at + 1]);
                std::memcpy(packet, data.data() + at + 2, length);
                at += 2 + length;
                int moved = 0;
                if (libusb_interrupt_transfer(handle, out, packet, length, &moved, 2000) != 0
                    || (replied && libusb_interrupt_transfer(handle, in, reply, sizeof reply, &moved, 2000) != 0))
                    status = 1;
            }
            libusb_release_interface(handle, alt.bInterfaceNumber);
        }
        libusb_free_config_descriptor(config);
    }
    if (handle)
        libusb_close(handle);
    libusb_exit(context);
    return status;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "bench_download: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--replay") == 0)
        return Replay(argv[2]);
    int pairs = kMinimumPairs;
    std::vector<uint32_t> sizes = {64, 256, 1024};
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--pairs") == 0)
            pairs = std::max(kMinimumPairs, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--sizes") == 0) {
            sizes.clear();
            for (const char* p = argv[i + 1]; *p; p += *p == ',')
                sizes.push_back(static_cast<uint32_t>(std::strtoul(p, const_cast<char**>(&p), 10)));
        }
    }
    char pattern[] = "/dev/shm/bench_download.XXXXXX";
    if (!mkdtemp(pattern))
        return Fail("no directory in /dev/shm");
    const std::string dir = pattern, bin = BinDir();

    ksim::Testbed testbed;
    testbed.addProbe(kLargeFlashTarget);
    const std::string root = testbed.rootDir();
    std::printf("Korvex_Console -connect -d --fn IMAGE --v on a ZR32S02CGT6 (1 MiB flash, %u-byte sectors) over HID,\n"
                "against a replay of its exact packets over raw libusb; %d pairs in alternating order,\n"
                "medians with spread lowest-highest.\n\n", kSectorSize, pairs);
    for (uint32_t kib : sizes) {
        const uint32_t size = kib * 1024;
        if (size == 0 || size > 1024 * 1024)
            return Fail("image sizes are 1 to 1024 KiB");
        const std::string image = dir + "/image.hex", replay = dir + "/replay.bin";
        std::ofstream(image, std::ios::binary) << ImageHex(size);
        const std::vector<std::string> console = {bin + "/Korvex_Console", "-connect", "-d", "--fn", image, "--v"};
        const auto clearLog = [&testbed] { testbed.withProbe(0, [](ksim::VirtualProbe& p) { p.clearExchangeLog(); }); };

        clearLog();
        if (TimedRun(console, root) < 0)
            return Fail("the console's job failed");
        const std::vector<ksim::Exchange> log = testbed.withProbe(0, [](ksim::VirtualProbe& p) { return p.exchangeLog(); });
        if (!WriteReplay(replay, log))
            return Fail("cannot write the replay");

        std::vector<double> job, floor, ratio;
        for (int pair = 0; pair < pairs; ++pair) {
            double seconds[2];
            for (int k = 0; k < 2; ++k) {
                const bool consoleTurn = (k == 0) == (pair % 2 == 0);
                clearLog();
                seconds[consoleTurn ? 0 : 1] =
                    TimedRun(consoleTurn ? console : std::vector<std::string>{bin + "/bench_download", "--replay", replay}, root);
            }
            if (seconds[0] < 0 || seconds[1] < 0)
                return Fail("a run failed");
            job.push_back(seconds[0]);
            floor.push_back(seconds[1]);
            ratio.push_back(seconds[0] / seconds[1]);
        }

        const uint64_t sectors = (size + kSectorSize - 1) / kSectorSize;
        const uint64_t minimum = kConnectExchanges + sectors + 2 + 2 * PacketsInCalls(size);
        const uint64_t packed = kConnectExchanges + 1 + 2 + 2 * Packets(size);
        const auto [ratioLow, ratioHigh] = std::minmax_element(ratio.begin(), ratio.end());
        std::printf("%4u KiB  exchanges %llu; protocol minimum %llu = connect %llu + %llu sector erases + begin and end\n"
                    "          + 2 x %llu (write and read, %u-byte calls, %u payload bytes per exchange);\n"
                    "          packed lower bound %llu (payload/56 = 2 x %llu, one erase, no call boundaries)\n",
                    kib, static_cast<unsigned long long>(log.size()), static_cast<unsigned long long>(minimum),
                    static_cast<unsigned long long>(kConnectExchanges), static_cast<unsigned long long>(sectors),
                    static_cast<unsigned long long>(PacketsInCalls(size)), kCallSize, kPacketPayload,
                    static_cast<unsigned long long>(packed), static_cast<unsigned long long>(Packets(size)));
        std::printf("          console %.3f s, replay %.3f s, console / replay %.3f (%.3f-%.3f)\n\n", Median(job),
                    Median(floor), Median(ratio), *ratioLow, *ratioHigh);
    }
    std::remove((dir + "/image.hex").c_str());
    std::remove((dir + "/replay.bin").c_str());
    rmdir(dir.c_str());
    return 0;
}
