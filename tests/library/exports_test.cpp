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

// Every per-handle export (the table the handle checks run through) and the frame's own, against the
// defined dynamic symbols of the built library.
TEST(LibraryExports, every_export_and_nothing_else_is_a_defined_text_symbol) {
    std::set<std::string> exports = {"KORVEX_Init", "KORVEX_Exit", "KORVEX_SetTransTypeRule", "KORVEX_Open",
                                     "KORVEX_Close", "KORVEX_GetKorvexDeviceList", "KORVEX_GetCurrentTimeSeconds"};
    for (const korvex_test::ExportCall &e : korvex_test::everyHandleExport()) exports.insert(e.name);
    EXPECT_EQ(exports.size(), 182u);
    korvex_test::ProcessResult nm = korvex_test::runProcess({"/usr/bin/nm", "-D", "--defined-only", KORVEXLIB_PATH});
    EXPECT_EQ(nm.exitCode, 0) << nm.err;
    std::istringstream lines(nm.out);
    std::set<std::string> defined;
    for (std::string address, type, name; lines >> address >> type >> name;) {
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
