// CLinkInterface through the real probe library to the virtual probe in this process: which
// requests reach the probe, in which order, and what the methods report.
#include "link_interface.h"
#include "share_parameter.h"

#include "target/ble_module.h"
#include "target/target_mcu.h"
#include "usb/testbed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr uint32_t kFlash = 0x08000000;
constexpr uint32_t kS09Boot = 0x1FFFE400;

const ksim::Settings kS09 = {{"transport", "hid"}, {"series", "9"}, {"pid", "09001081"}, {"ap_mode", "1"}};
const ksim::Settings kS17 = {{"transport", "hid"}, {"series", "17"}, {"pid", "110022C5"}, {"hw_version", "11"}, {"ble", "1"}};

// One request as the probe decoded it: group, byte 1, and the address and length fields of the
// memory, erase and BLE forms.
struct Request {
    uint8_t cmd;
    uint8_t sub;
    uint32_t address;
    uint32_t length;
};

class LinkBench : public testing::Test {
protected:
    void Open(const ksim::Settings& settings)
    {
        bench_.addProbe(settings);
        ASSERT_EQ(KORVEX_Init(), 0);
        uint8_t count = 99;
        tagKORVEXDeviceInfo list{};
        KORVEX_GetKorvexDeviceList(&count, &list.deviceInfo[0][0]);
        ASSERT_EQ(count, 1);
        handle_ = KORVEX_Open(nullptr);
        ASSERT_NE(handle_, KORVEX_INVALID_HANDLE);
        link.SetLinkHandle(handle_);
        g_shareParameter.otp3Address = kS09Boot;
        g_shareParameter.otp3Size = 4096;
        g_shareParameter.flashSectorSize = 2048;
        ClearLog();
    }

    void TearDown() override
    {
        if (handle_ != 0) {
            KORVEX_Close(handle_);
            KORVEX_Exit();
        }
    }

    void Fault(const std::string& status)
    {
        bench_.withProbe(0, [&](ksim::VirtualProbe& p) {
            std::string error;
            ASSERT_TRUE(p.configure("fault_status", status, error)) << error;
        });
    }

    void ClearLog()
    {
        bench_.withProbe(0, [](ksim::VirtualProbe& p) { p.clearExchangeLog(); });
    }

    std::vector<Request> Requests(uint8_t cmd)
    {
        std::vector<Request> requests;
        bench_.withProbe(0, [&](ksim::VirtualProbe& p) {
            for (const ksim::Exchange& e : p.exchangeLog()) {
                if (e.request.empty() || e.request[0] != cmd)
                    continue;
                std::vector<uint8_t> r = e.request;
                r.resize(std::max<size_t>(r.size(), 8)); // big-endian fields, zero where the request is short
                requests.push_back({r[0], r[1], uint32_t{r[2]} << 24 | r[3] << 16 | r[4] << 8 | r[5], uint32_t(r[6] << 8 | r[7])});
            }
        });
        return requests;
    }

    ksim::Testbed bench_;
    KORVEX_HANDLE handle_ = 0;
    CLinkInterface link;
};

// A read that starts in main flash keeps the main flash memory type into the SPIM window (a 4 MiB
// flash reaches up to it).
TEST_F(LinkBench, a_read_keeps_the_memory_type_of_its_start_address)
{
    Open({{"transport", "hid"}, {"pid", "04000406"}, {"spim_enabled", "1"}, {"spim_size", "0x100000"}});
    std::vector<uint8_t> buffer(112);
    link.ReadMemory(0x08400000 - 56, 112, buffer.data(), 0, 0);
    const std::vector<Request> reads = Requests(0xB2);
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[1].address, 0x08400000u);
    for (const Request& r : reads)
        EXPECT_EQ(r.sub, 0x00) << std::hex << r.address;
}

TEST_F(LinkBench, sector_erase_takes_the_whole_boot_memory_first_then_each_sector)
{
    Open(kS09);
    const uint32_t addresses[] = {kS09Boot + 0x800, kFlash, kFlash + 0x800};
    ASSERT_EQ(link.SectorErase(addresses, 3), 0);
    const std::vector<Request> erases = Requests(0xB4);
    ASSERT_EQ(erases.size(), 3u);
    EXPECT_EQ(erases[0].sub, 0x07);
    EXPECT_EQ(erases[1].sub, 0x00);
    EXPECT_EQ(erases[1].address, kFlash);
    EXPECT_EQ(erases[1].length, 1u); // count
    EXPECT_EQ(erases[2].address, kFlash + 0x800);
}

TEST_F(LinkBench, flash_erase_adds_bank_two_only_beyond_512_kilobytes_and_after_bank_one)
{
    Open({{"transport", "hid"}});
    EXPECT_EQ(link.FlashErase(0x80000), 0);
    ASSERT_EQ(Requests(0xB4).size(), 1u);
    EXPECT_EQ(Requests(0xB4)[0].sub, 0x03);
    ClearLog();
    link.FlashErase(0x80001);
    ASSERT_EQ(Requests(0xB4).size(), 2u);
    EXPECT_EQ(Requests(0xB4)[1].sub, 0x04);
    Fault("B4.03,0x22");
    ClearLog();
    EXPECT_EQ(link.FlashErase(0x100000), 0x22);
    EXPECT_EQ(Requests(0xB4).size(), 1u);
}

TEST_F(LinkBench, user_system_data_of_the_wrong_length_is_refused)
{
    Open(kS09);
    std::vector<uint8_t> readable(256, 0x3C);
    readable[0] = 0xA5; // keeps the target readable
    EXPECT_EQ(link.WriteUserSystemData(ZR32_S09, readable.data(), 255), 0);
    ASSERT_EQ(link.WriteUserSystemData(ZR32_S09, readable.data(), 256), 1);
    std::vector<uint8_t> back(256);
    ASSERT_EQ(link.ReadUserSystemData(ZR32_S09, back.data(), 256), 1);
    EXPECT_EQ(back, readable);
}

TEST_F(LinkBench, a_ble_chunk_is_never_copied_past_the_end_of_the_image)
{
    Open(kS17);
    ASSERT_TRUE(link.ConnectBleTarget());
    std::vector<uint8_t> ble(163832, 0xFF);
    std::vector<uint8_t> chunk(100, 0x11);
    uint32_t count = 0;
    link.SendDownloadChunk(handle_, 163832 - 8, 100, chunk.data(), ble.data(), count); // the module may refuse
    EXPECT_EQ(count, 100u);
    EXPECT_EQ(std::count(ble.begin(), ble.end(), 0x11), 8);
}

TEST_F(LinkBench, a_failed_main_flash_begin_stops_before_the_spim_begin)
{
    Open({{"transport", "hid"}, {"fault_status", "B3.03,0x22"}});
    FileInfo info;
    for (const uint32_t address : {kFlash, 0x08400000u}) {
        ImagePart part;
        part.startAddress = address;
        part.endAddress = address + 15;
        part.bytes.assign(16, 0x5A);
        info.parts.append(part);
    }
    info.location = FILE_POS_IN_MAIN_SPIM_FLASH;
    uint32_t count = 0;
    EXPECT_EQ(link.DownloadToDevice(info, nullptr, count), 0x22);
    const std::vector<Request> writes = Requests(0xB3);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].sub, 0x03);
}

TEST_F(LinkBench, a_failed_space_select_is_reported)
{
    Open(kS17);
    ASSERT_TRUE(link.ConnectBleTarget());
    Fault("BE.01,0x22");
    EXPECT_EQ(link.SelectBleFlashSpace(0), 0x22);
    EXPECT_FALSE(link.EnableBleAccessProtection());
    std::vector<uint8_t> buffer(16);
    EXPECT_EQ(link.ReadMemory(0, 16, buffer.data(), 0, 0), 0x22);
}

}  // namespace
