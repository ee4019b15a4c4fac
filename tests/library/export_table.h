// Every per-handle export, called with arguments that pass its own checks, as one table.
#pragma once

#include "KORVEXLIB.h"

#include <functional>
#include <string>
#include <vector>

namespace korvex_test {

struct ExportCall {
    std::string name;
    std::function<int(KORVEX_HANDLE)> call;
};

const std::vector<ExportCall> &everyHandleExport();

}  // namespace korvex_test
