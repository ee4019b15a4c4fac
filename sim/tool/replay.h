// korvex-sim --replay: one emulated probe that answers as a recording says.
#pragma once

#include <string>
#include <vector>

namespace ksim_tool {

// Runs command against a probe with the recorded USB identity that answers the k-th request with
// the k-th recorded reply. Returns the command's exit code when every request matched the
// recording and every recorded request was made; otherwise 125, with the first request that
// differs (its number, what came, what was recorded) on stderr.
int replay(const std::string &file, const std::vector<std::string> &command);

}  // namespace ksim_tool
