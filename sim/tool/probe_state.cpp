#include "probe_state.h"

#include "sim_options.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace ksim_tool {
namespace {

bool isDirectory(const std::string &path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists(const std::string &path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool makeDirectories(const std::string &path, std::string &error)
{
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (!prefix.empty() && mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) {
            error = "cannot create " + prefix + ": " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) break;
    }
    if (isDirectory(path)) return true;
    error = path + " is not a directory";
    return false;
}

}  // namespace

bool usableStateDir(const std::string &stateDir, std::string &error)
{
    if (stateDir.empty() || !exists(stateDir) || isDirectory(stateDir)) return true;
    error = "--state " + stateDir + ": not a directory";
    return false;
}

std::string probeStateDir(const std::string &stateDir, size_t index)
{
    return stateDir + "/probe" + std::to_string(index);
}

std::unique_ptr<ksim::VirtualProbe> prepareProbe(const std::string &stateDir, size_t index,
                                                 const std::vector<std::pair<std::string, std::string>> &settings,
                                                 std::string &error)
{
    auto probe = std::make_unique<ksim::VirtualProbe>();
    // Distinct serials, so that a console told to use "the one probe" cannot pass with the wrong one.
    if (!probe->configure("serial", numberedSerial(index), error)) return nullptr;
    const std::string saved = stateDir.empty() ? std::string() : probeStateDir(stateDir, index);
    if (!saved.empty() && exists(saved) && !probe->loadState(saved, error)) {
        error = "cannot load the state of probe " + std::to_string(index) + " from " + saved + ": " + error;
        return nullptr;
    }
    for (const auto &setting : settings) {
        if (!probe->configure(setting.first, setting.second, error)) {
            error = "probe " + std::to_string(index) + ": " + error;
            return nullptr;
        }
    }
    if (!probe->configurationComplete(error)) {
        error = "probe " + std::to_string(index) + ": " + error;
        return nullptr;
    }
    return probe;
}

bool saveProbe(const ksim::VirtualProbe &probe, const std::string &stateDir, size_t index, std::string &error)
{
    if (!makeDirectories(stateDir, error)) return false;
    const std::string target = probeStateDir(stateDir, index);
    if (probe.saveState(target, error)) return true;
    error = "cannot save the state of probe " + std::to_string(index) + " to " + target + ": " + error;
    return false;
}

std::vector<size_t> savedProbes(const std::string &stateDir)
{
    std::vector<size_t> indices;
    for (size_t i = 0; exists(probeStateDir(stateDir, i)); ++i) indices.push_back(i);
    return indices;
}

}  // namespace ksim_tool
