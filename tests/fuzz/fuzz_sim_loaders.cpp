// Fuzzes what korvex-sim reads from files: the --config INI file (whose keys then configure a
// probe) and a saved probe state (device.ini plus memory files). Nothing may crash or hang, and a
// state that loads must save, load and save again to the very same files.
#include "config_file.h"
#include "fuzz_check.h"
#include "probe/virtual_probe.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

const char *const kMemoryFiles[] = {"main_flash.bin", "boot_memory.bin", "spim.bin",   "sram.bin",
                                    "otp_data.bin",   "otp_lock.bin",    "usd.bin",    "ble_main.bin",
                                    "ble_nvr.bin",    "ble_rdn.bin"};

fs::path scratch(const std::string &name) {
    static const fs::path root = [] {
        std::string pattern = (fs::temp_directory_path() / "korvex-fuzz-sim-XXXXXX").string();
        FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        return fs::path(pattern);
    }();
    fs::path dir = root / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void write(const fs::path &file, const uint8_t *data, size_t size) {
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char *>(data), std::streamsize(size));
}

std::string contents(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void configureProbe(const std::vector<std::pair<std::string, std::string>> &keys) {
    ksim::VirtualProbe probe;
    std::string error;
    for (const auto &key : keys) probe.configure(key.first, key.second, error);
}

void fuzzConfigFile(const uint8_t *data, size_t size) {
    const fs::path file = scratch("config") / "sim.ini";
    write(file, data, size);
    ksim_tool::ConfigFile config;
    std::string error;
    if (!config.read(file.string(), error)) return;
    configureProbe(config.allProbes);
    for (const auto &probe : config.perProbe) configureProbe(probe.second);
}

// device.ini is the input up to its first NUL byte; what follows (after a byte naming the file)
// becomes one memory file.
void fuzzState(const uint8_t *data, size_t size) {
    const fs::path dir = scratch("state");
    const uint8_t *end = data + size;
    const uint8_t *nul = std::find(data, end, uint8_t{0});
    write(dir / "device.ini", data, size_t(nul - data));
    if (nul + 1 < end) write(dir / kMemoryFiles[nul[1] % std::size(kMemoryFiles)], nul + 2, size_t(end - nul - 2));

    ksim::VirtualProbe loaded;
    std::string error;
    if (!loaded.loadState(dir.string(), error)) return;
    const fs::path first = scratch("saved1");
    const fs::path second = scratch("saved2");
    FUZZ_CHECK(loaded.saveState(first.string(), error));
    ksim::VirtualProbe reloaded;
    FUZZ_CHECK(reloaded.loadState(first.string(), error));
    FUZZ_CHECK(reloaded.saveState(second.string(), error));
    for (const auto &entry : fs::directory_iterator(first))
        FUZZ_CHECK(contents(entry.path()) == contents(second / entry.path().filename()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    if (data[0] & 1)
        fuzzState(data + 1, size - 1);
    else
        fuzzConfigFile(data + 1, size - 1);
    return 0;
}
