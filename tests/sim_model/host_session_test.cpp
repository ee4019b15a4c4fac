// Whole host sessions as the library runs them over HID: connection, erase, chunked download between
// write brackets, read-back, reset. The probe must carry them out with exactly these exchanges.
#include "probe_harness.h"
#include "target/target_mcu.h"

namespace ksim::test {
namespace {

Bytes memoryRequest(uint8_t cmd, uint8_t type, uint32_t address, uint16_t length)
{
    return {cmd, type, uint8_t(address >> 24), uint8_t(address >> 16), uint8_t(address >> 8), uint8_t(address),
            uint8_t(length >> 8), uint8_t(length)};
}

class HidHost {
public:
    explicit HidHost(VirtualProbe &probe) : probe_(probe) {}

    Bytes exchange(const Bytes &request)
    {
        const FirmwareAction action = probe_.handleRequest(hidReport(request), true);
        EXPECT_TRUE(action.reply.has_value()) << hexText(request);
        return action.reply.value_or(Bytes{});
    }
    std::string status(const std::string &request) { return hexText(exchange(hex(request))); }

    void download(uint32_t address, const Bytes &data)
    {
        for (size_t done = 0; done < data.size(); done += 56) {
            const uint16_t n = static_cast<uint16_t>(std::min<size_t>(56, data.size() - done));
            Bytes request = memoryRequest(0xB3, 0x00, address + static_cast<uint32_t>(done), n);
            request.insert(request.end(), data.begin() + static_cast<long>(done), data.begin() + static_cast<long>(done + n));
            ASSERT_EQ(hexText(exchange(request)), "B3 F1") << "chunk at " << done;
        }
    }

    Bytes upload(uint32_t address, size_t length)
    {
        Bytes data;
        for (size_t done = 0; done < length; done += 56) {
            const uint16_t n = static_cast<uint16_t>(std::min<size_t>(56, length - done));
            const Bytes reply = exchange(memoryRequest(0xB2, 0x00, address + static_cast<uint32_t>(done), n));
            EXPECT_EQ(reply.size(), 8u + n);
            EXPECT_EQ(reply[1], 0x00) << "type echo";
            data.insert(data.end(), reply.begin() + 8, reply.end());
        }
        return data;
    }

private:
    VirtualProbe &probe_;
};

TEST(HostSession, ConnectEraseDownloadVerifyAndRun)
{
    ProbeHarness bench;
    HidHost host(bench.probe);
    EXPECT_EQ(host.status("B0 00"), "B0 00 05 02 01 07 00 01");
    EXPECT_EQ(host.status("B0 23 04 00 02 03 21"), "B0 F1");
    EXPECT_EQ(host.status("B1 03 01 01"), "B1 F1");
    EXPECT_EQ(host.status("B1 00 01 A5"), "B1 00 01 01");
    EXPECT_EQ(host.status("B1 01"), "B1 01 05 04 04 00 02 46");
    EXPECT_EQ(host.status("B4 03 00 00 00 00 00 00"), "B4 F1");
    EXPECT_EQ(host.status("B3 03 01 00"), "B3 F1");
    Bytes image(300);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 7 + 3);
    host.download(0x08000000, image);
    EXPECT_EQ(host.status("B3 03 01 01"), "B3 F1");
    EXPECT_EQ(host.upload(0x08000000, image.size()), image);
    EXPECT_EQ(host.status("B1 03 01 02"), "B1 F1");
    EXPECT_EQ(bench.probe.requestCount(), 5u + 1 + 1 + 6 + 1 + 6 + 1);
    for (const Exchange &e : bench.probe.exchangeLog())
        EXPECT_TRUE(e.diagnostic.empty()) << e.command << ": " << e.diagnostic;
}

TEST(HostSession, DownloadOverUnerasedFlashReadsBackWrong)
{
    ProbeHarness bench;
    HidHost host(bench.probe);
    EXPECT_EQ(host.status("B3 03 01 00"), "B3 F1");
    host.download(0x08000000, Bytes(100, 0x0F));
    host.download(0x08000000, Bytes(100, 0xF0));  // no erase in between
    EXPECT_EQ(host.upload(0x08000000, 100), Bytes(100, 0x00));
}

TEST(HostSession, ProtectedTargetIsIdentifiedWithTheSeriesTheHostSupplies)
{
    ProbeHarness bench({{"series", "18"}, {"pid", "12340300"}, {"protection", "1"}});
    HidHost host(bench.probe);
    EXPECT_EQ(host.status("B1 03 01 01"), "B1 F1");
    EXPECT_EQ(host.status("B1 00 01 A5"), "B1 00 01 03");
    const Bytes id = host.exchange(hex("B1 01"));
    ASSERT_EQ(id.size(), 8u) << "the full reply, so that the host can take the product ID";
    EXPECT_EQ(hexText(id), "B1 FE 05 00 12 34 03 00");
    EXPECT_EQ(host.status("B1 05 05 12 12 34 03 00"), "B1 F1");
    EXPECT_EQ(host.status("B1 01"), "B1 01 05 12 12 34 03 00");
    EXPECT_EQ(host.status("B5 00 01 A5"), "B5 F1") << "level 1 can be removed even where level 2 cannot";
    EXPECT_FALSE(bench.probe.target().hasSuppliedId()) << "the target reports its own ID again";
}

}  // namespace
}  // namespace ksim::test
