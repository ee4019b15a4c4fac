#pragma once

#include <string>
#include <vector>

// The -device names nearest to a name the catalogue does not know (edit distance, letter case
// ignored), nearest first, at most count of them.
std::vector<std::string> ClosestPartNames(const std::string& name, size_t count);

// The standard-error hint for a refused -device name.
void HintClosestPartNames(const std::string& name);
