// Loading a 4 MiB image from Intel HEX text (16-byte records, about 11.5 MB): throughput of the
// reader against objcopy converting the same file, in the same run, and the peak memory of the
// load measured in a child process of its own.
//
//   bench_hex_load [--repeat N]
#include "file_operation.h"
#include "file_io.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <fstream>
#include <iterator>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr size_t kImageSize = 4 * 1024 * 1024;
constexpr uint32_t kImageAddress = 0x08000000;
const char kObjcopy[] = "/usr/bin/objcopy";

using Clock = std::chrono::steady_clock;

// Runs a program and returns its exit status; its standard output goes to outputPath when given.
int Run(const std::vector<std::string>& argv, const std::string& outputPath = {})
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!outputPath.empty())
        posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A field of /proc/self/status in kilobytes (VmRSS, VmHWM).
long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::stol(line.substr(length + 1));
    return -1;
}

double BestSeconds(int repeat, const std::function<bool()>& work)
{
    double best = 1e9;
    for (int i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        if (!work())
            return -1;
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

bool LoadMatches(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FileInfo info;
    info.path = path;
    if (FileOperation().OpenHexFile(info) != FILE_OPERATION_SUCCESS || info.size != static_cast<int32_t>(bytes.size()))
        return false;
    size_t at = 0;
    for (const ImagePart& part : info.parts) {
        if (part.startAddress != kImageAddress + at || std::memcmp(part.bytes, bytes.data() + at, part.size) != 0)
            return false;
        at += part.size;
    }
    return at == bytes.size();
}

// Child mode: one load, then the growth of the resident set it caused at its peak.
int MeasureLoad(const std::string& path)
{
    FileExists(path); // the file-system code is mapped in before the baseline
    const long before = StatusKilobytes("VmRSS");
    FileInfo info;
    info.path = path;
    const int result = FileOperation().OpenHexFile(info);
    const long peak = StatusKilobytes("VmHWM");
    std::printf("%d %ld\n", result, peak - before);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--measure-load") == 0)
        return MeasureLoad(argv[2]);
    int repeat = 5;
    if (argc == 3 && std::strcmp(argv[1], "--repeat") == 0)
        repeat = std::max(1, std::atoi(argv[2]));

    QTemporaryDir dir;
    const std::string hexPath = dir.path().toStdString() + "/image.hex";
    const std::string binPath = dir.path().toStdString() + "/objcopy.bin";
    std::vector<uint8_t> bytes(kImageSize);
    std::mt19937 generator(1);
    std::generate(bytes.begin(), bytes.end(), [&generator] { return static_cast<uint8_t>(generator()); });
    if (FileOperation().SaveHexFile(hexPath, bytes.data(), static_cast<int32_t>(bytes.size()), kImageAddress) != 0) {
        std::fprintf(stderr, "cannot write %s\n", hexPath.c_str());
        return 1;
    }
    const double textMegabytes = static_cast<double>(ReadText(hexPath).size()) / 1e6;

    const double ours = BestSeconds(repeat, [&] { return LoadMatches(hexPath, bytes); });
    const double objcopy = BestSeconds(repeat, [&] {
        return Run({kObjcopy, "-I", "ihex", "-O", "binary", hexPath, binPath}) == 0;
    });
    if (ours < 0 || objcopy < 0) {
        std::fprintf(stderr, "a load failed or did not give the image back\n");
        return 1;
    }
    const std::string objcopyBytes = ReadText(binPath);
    if (objcopyBytes.size() != bytes.size() || std::memcmp(objcopyBytes.data(), bytes.data(), bytes.size()) != 0) {
        std::fprintf(stderr, "objcopy did not give the image back\n");
        return 1;
    }

    const std::string memoryPath = dir.path().toStdString() + "/memory.txt";
    Run({"/proc/self/exe", "--measure-load", hexPath}, memoryPath);
    int childResult = -1;
    long growthKilobytes = -1;
    std::sscanf(ReadText(memoryPath).c_str(), "%d %ld", &childResult, &growthKilobytes);

    const double imageMegabytes = static_cast<double>(kImageSize) / 1e6;
    std::printf("HEX text: %.2f MB for a %.2f MB image, best of %d\n", textMegabytes, imageMegabytes, repeat);
    std::printf("reader:   %7.1f ms  %7.1f MB/s\n", ours * 1e3, textMegabytes / ours);
    std::printf("objcopy:  %7.1f ms  %7.1f MB/s\n", objcopy * 1e3, textMegabytes / objcopy);
    std::printf("speed-up over objcopy: %.2fx (goal 2x)\n", objcopy / ours);
    std::printf("peak resident growth of one load: %.2f MB = %.2fx the image (limit 3x)%s\n", growthKilobytes / 1024.0,
                growthKilobytes * 1024.0 / kImageSize, childResult == 0 ? "" : " [load failed]");
    return 0;
}
