// Running programs under umockdev's preload library, which redirects /sys, /dev and the usbfs
// ioctls of a process to a testbed.
#pragma once

#include <map>
#include <string>

namespace ksim {

constexpr const char *kPreloadLibrary = "libumockdev-preload.so.0";

// Whether this process was started with the preload library.
bool runningUnderPreload();

// The environment changes that put a child under the preload: LD_PRELOAD with the preload library
// (after an AddressSanitizer runtime the current LD_PRELOAD names, which must stay first), and
// ASAN_OPTIONS allowing the runtime not to come first. Pass rootDir to aim the child at a testbed
// (UMOCKDEV_DIR); an empty rootDir leaves UMOCKDEV_DIR alone.
std::map<std::string, std::string> preloadEnvironment(const std::string &rootDir = {});

// For a program that hosts a testbed and talks to it through libusb in the same process (a test
// binary): re-executes the program under the preload unless it already runs under it. Call it
// first thing in main(), before any thread starts. Returns only when no re-execution was needed,
// or when it failed (false, with the reason on stderr).
bool reexecUnderPreloadIfNeeded(int argc, char **argv);

}  // namespace ksim
