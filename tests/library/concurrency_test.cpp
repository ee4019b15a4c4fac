// Two probes driven from four threads at once (two per handle). Each export holds its probe for
// the whole transfer, so every multi-chunk transfer must arrive on its own probe back to back.
// Built in every configuration; run it in a -DKORVEX_TSAN=ON build with `ctest -L tsan`, where the
// races inside uninstrumented umockdev, GLib and libusb are suppressed by tests/tsan.supp.
#include "scripted_probe.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using korvex_test::be32;
using korvex_test::Bytes;
using korvex_test::LibrarySession;
using korvex_test::probeIdentity;
using korvex_test::ScriptedProbe;
using ksim::Transport;

constexpr int kRounds = 12;
constexpr int kLength = 150;  // three chunks of 56, 56 and 38
constexpr uint32_t kChunk = 56;

// Every transfer starts at a multiple of 0x1000; its chunks must follow each other directly.
void expectContiguousTransfers(const std::vector<Bytes> &log, const char *probe) {
    size_t i = 0;
    while (i < log.size()) {
        const uint32_t start = be32(log[i], 2);
        ASSERT_EQ(start % 0x1000, 0u) << probe << ": request " << i << " is not the start of a transfer";
        for (uint32_t k = 0; k * kChunk < uint32_t(kLength); ++k, ++i) {
            ASSERT_LT(i, log.size()) << probe;
            EXPECT_EQ(log[i][0], log[i - k][0]) << probe << ": request " << i << " interleaved";
            EXPECT_EQ(be32(log[i], 2), start + k * kChunk) << probe << ": request " << i << " interleaved";
        }
    }
}

TEST(Concurrency, two_probes_from_four_threads_keep_each_transfer_contiguous) {
    ksim::Testbed bench;
    ScriptedProbe a, b;
    a.respond(korvex_test::serveMemory);
    b.respond(korvex_test::serveMemory);
    bench.addDevice(probeIdentity("KV-T1", Transport::Bulk), a.handler());
    bench.addDevice(probeIdentity("KV-T2", Transport::Hid), b.handler());
    LibrarySession library;
    const KORVEX_HANDLE ha = library.open("KV-T1"), hb = library.open("KV-T2");

    std::atomic<int> failures{0};
    auto reader = [&](KORVEX_HANDLE h, uint32_t base) {
        Bytes buffer(kLength);
        for (int r = 0; r < kRounds; ++r) {
            const uint32_t address = base + uint32_t(r) * 0x1000;
            if (KORVEX_UPLoad_Target(h, address, kLength, buffer.data()) != 0) ++failures;
            if (buffer != korvex_test::pattern(address, kLength)) ++failures;
            int64_t t;
            if (KORVEX_GetLastKorvexCommunicationTimes(h, &t) != 0) ++failures;
        }
    };
    auto writer = [&](KORVEX_HANDLE h, uint32_t base) {
        const Bytes data(kLength, 0x5A);
        for (int r = 0; r < kRounds; ++r)
            if (KORVEX_DownLoad_Target(h, base + uint32_t(r) * 0x1000, kLength, data.data()) != 0) ++failures;
    };
    std::vector<std::thread> threads;
    threads.emplace_back(reader, ha, 0x08000000);
    threads.emplace_back(writer, ha, 0x08100000);
    threads.emplace_back(reader, hb, 0x08200000);
    threads.emplace_back(writer, hb, 0x08300000);
    for (std::thread &t : threads) t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(a.requests().size(), size_t(2 * kRounds * 3));
    EXPECT_EQ(b.requests().size(), size_t(2 * kRounds * 3));
    expectContiguousTransfers(a.requests(), "KV-T1");
    expectContiguousTransfers(b.requests(), "KV-T2");
}

}  // namespace
