#include "usb/preload.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace ksim {
namespace {

std::string environmentValue(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> splitPreloadList(const std::string &list)
{
    std::vector<std::string> entries;
    std::string entry;
    for (char c : list) {
        if (c == ':' || c == ' ') {
            if (!entry.empty()) entries.push_back(entry);
            entry.clear();
        } else {
            entry += c;
        }
    }
    if (!entry.empty()) entries.push_back(entry);
    return entries;
}

bool isSanitizerRuntime(const std::string &entry)
{
    for (const char *runtime : {"libasan", "libclang_rt.asan", "libtsan", "libclang_rt.tsan"})
        if (entry.find(runtime) != std::string::npos) return true;
    return false;
}

std::string withPreloadLibrary(const std::string &current)
{
    std::vector<std::string> first;
    std::vector<std::string> rest;
    for (const std::string &entry : splitPreloadList(current)) {
        if (entry.find("libumockdev-preload") != std::string::npos) continue;
        (isSanitizerRuntime(entry) ? first : rest).push_back(entry);
    }
    first.push_back(kPreloadLibrary);
    first.insert(first.end(), rest.begin(), rest.end());
    std::ostringstream joined;
    for (size_t i = 0; i < first.size(); ++i) joined << (i ? ":" : "") << first[i];
    return joined.str();
}

std::string withRelaxedLinkOrder(const std::string &current)
{
    if (current.find("verify_asan_link_order") != std::string::npos) return current;
    return current.empty() ? "verify_asan_link_order=0" : current + ":verify_asan_link_order=0";
}

}  // namespace

bool runningUnderPreload()
{
    return environmentValue("LD_PRELOAD").find("libumockdev-preload") != std::string::npos;
}

std::map<std::string, std::string> preloadEnvironment(const std::string &rootDir)
{
    std::map<std::string, std::string> env{
        {"LD_PRELOAD", withPreloadLibrary(environmentValue("LD_PRELOAD"))},
        {"ASAN_OPTIONS", withRelaxedLinkOrder(environmentValue("ASAN_OPTIONS"))},
    };
    if (!rootDir.empty()) env["UMOCKDEV_DIR"] = rootDir;
    return env;
}

// umockdev_in_mock_environment() caches its first answer, so the decision is made from
// LD_PRELOAD itself; the re-executed program finds the library there and runs on.
bool reexecUnderPreloadIfNeeded(int argc, char **argv)
{
    if (runningUnderPreload()) return true;
    for (const auto &entry : preloadEnvironment()) setenv(entry.first.c_str(), entry.second.c_str(), 1);
    std::vector<char *> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    execv("/proc/self/exe", arguments.data());
    std::fprintf(stderr, "cannot re-execute %s under %s: %s\n", argc > 0 ? argv[0] : "the program",
                 kPreloadLibrary, std::strerror(errno));
    return false;
}

}  // namespace ksim
