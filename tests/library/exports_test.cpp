// The shared library's interface as a loader sees it: every export present, nothing else visible,
// and the header usable from C.
#include "packet_rows.h"
#include "run_process.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

extern "C" int korvex_c_version_of_invalid_handle(void);

namespace {

// Every per-handle export (the table the handle checks run through) and the frame's own.
std::set<std::string> exportNames() {
    std::set<std::string> names = {"KORVEX_Init", "KORVEX_Exit", "KORVEX_SetTransTypeRule", "KORVEX_Open",
                                   "KORVEX_Close", "KORVEX_GetKorvexDeviceList", "KORVEX_GetCurrentTimeSeconds"};
    for (const korvex_test::ExportCall &e : korvex_test::everyHandleExport()) names.insert(e.name);
    return names;
}

// Defined dynamic symbols of the built library: name -> nm type letter.
std::map<std::string, std::string> definedDynamicSymbols() {
    korvex_test::ProcessResult run = korvex_test::runProcess({"/usr/bin/nm", "-D", "--defined-only", KORVEXLIB_PATH});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::map<std::string, std::string> symbols;
    std::istringstream lines(run.out);
    std::string address, type, name;
    while (lines >> address >> type >> name) symbols[name] = type;
    return symbols;
}

TEST(LibraryExports, every_export_and_nothing_else_is_a_defined_text_symbol) {
    const std::set<std::string> exports = exportNames();
    EXPECT_EQ(exports.size(), 182u);
    std::set<std::string> defined;
    for (const auto &[name, type] : definedDynamicSymbols()) {
        EXPECT_EQ(type, "T") << name;
        defined.insert(name);
    }
    EXPECT_EQ(defined, exports);
}

TEST(LibraryExports, library_carries_its_soname) {
    korvex_test::ProcessResult run = korvex_test::runProcess({"/usr/bin/objdump", "-p", KORVEXLIB_PATH});
    EXPECT_NE(run.out.find("SONAME               libKORVEXLIB.so.1"), std::string::npos) << run.out;
}

TEST(LibraryHeader, is_usable_from_c) { EXPECT_EQ(korvex_c_version_of_invalid_handle(), TRANS_INVALID_HANDLE_VALUE); }

}  // namespace
