// Every per-handle export, called with arguments that pass its own checks, as one table, with the
// communication times each one moves.
#pragma once

#include "KORVEXLIB.h"

#include <functional>
#include <string>
#include <vector>

namespace korvex_test {

// The probe's time moves for every command; the target's or the BLE module's with it for the
// commands addressed to them. The timestamp getters move nothing.
enum class Stamps { None, Link, LinkTarget, LinkBle };

struct ExportCall {
    std::string name;
    Stamps stamps;
    std::function<int(KORVEX_HANDLE)> call;
};

const std::vector<ExportCall> &everyHandleExport();

}  // namespace korvex_test
