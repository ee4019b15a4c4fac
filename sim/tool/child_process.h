// Runs the command of korvex-sim as a child that inherits the standard streams.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace ksim_tool {

constexpr int kCannotRun = 127;

// Starts command (searched in PATH like a shell does) with the current environment plus extra,
// waits for it and returns its exit code, or 128 + the signal that killed it. SIGINT, SIGTERM,
// SIGHUP and SIGQUIT sent to this process meanwhile are passed on to the child. Returns kCannotRun
// (with a message on stderr) when the command cannot be started.
int runChild(const std::vector<std::string> &command, const std::map<std::string, std::string> &extra);

}  // namespace ksim_tool
