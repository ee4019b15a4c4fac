// The C example under examples/: compiled as a caller would, through pkg-config, and run against
// virtual probes.
#include "run_process.h"

#include <gtest/gtest.h>

namespace {

using korvex_test::builtProgram;
using korvex_test::runProcess;

const std::string kProgram = std::string(EXAMPLE_OUT_DIR) + "/probe_settings";

TEST(Example, builds_through_pkg_config_and_reads_every_probes_settings) {
    korvex_test::ProcessOptions build;
    build.env["PKG_CONFIG_PATH"] = KORVEXLIB_PKGCONFIG_DIR;
    const std::string compile = "cc -std=c99 -pedantic -Wall -Werror -o " + kProgram + " " KORVEX_SOURCE_DIR
                                "/examples/probe_settings.c $(pkg-config --cflags --libs KORVEXLIB)";
    const auto built = runProcess({"/bin/sh", "-c", compile}, build);
    ASSERT_EQ(built.exitCode, 0) << built.err;

    const auto run = runProcess({builtProgram("korvex-sim"), "--probes", "2", "--probe", "0:serial=KV-EX-A", "--probe",
                                 "1:serial=KV-EX-B", "--probe", "1:fw_version=3.0.1", "--", kProgram});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "probes: 2\n"
              "KV-EX-A: firmware 2.1.7, display 1.0, target stable time 100 ms, buzzer on, offline ISP UART 115200 bps, "
              "USB-to-USART off, offline projects 1\n"
              "KV-EX-B: firmware 3.0.1, display 1.0, target stable time 100 ms, buzzer on, offline ISP UART 115200 bps, "
              "USB-to-USART off, offline projects 1\n");
}

}  // namespace
