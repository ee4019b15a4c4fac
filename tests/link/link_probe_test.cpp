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
    std::vector<uint8_t> data;
};

uint32_t Be(const std::vector<uint8_t>& bytes, size_t at, size_t count)
{
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = value << 8 | (at + i < bytes.size() ? bytes[at + i] : 0);
    return value;
}

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
                Request r{e.request[0], e.request[1], Be(e.request, 2, 4), Be(e.request, 6, 2), {}};
                if (e.request.size() > 8)
                    r.data.assign(e.request.begin() + 8, e.request.end());
                requests.push_back(r);
            }
        });
        return requests;
    }

    std::vector<std::pair<uint8_t, uint8_t>> Commands()
    {
        std::vector<std::pair<uint8_t, uint8_t>> commands;
        bench_.withProbe(0, [&](ksim::VirtualProbe& p) {
            for (const ksim::Exchange& e : p.exchangeLog())
                commands.emplace_back(e.request[0], e.request[1]);
        });
        return commands;
    }

    ksim::Testbed bench_;
    KORVEX_HANDLE handle_ = 0;
    CLinkInterface link;
};

// The starts of the library's packets for one transfer of the given length.
std::vector<uint32_t> PacketStarts(uint32_t address, uint32_t length, uint32_t packet)
{
    std::vector<uint32_t> starts;
    for (uint32_t offset = 0; offset < length; offset += packet)
        starts.push_back(address + offset);
    return starts;
}

TEST(LinkWithoutHandle, every_method_answers_in_its_convention)
{
    CLinkInterface link;
    std::vector<uint8_t> buffer(16);
    uint32_t address = kFlash;
    int level = 7;
    EXPECT_EQ(link.ReadMemory(kFlash, 16, buffer.data(), 0, 0), 160);
    EXPECT_EQ(link.SectorErase(&address, 1), 160);
    EXPECT_EQ(link.IsAccessProtected(level), 160);
    EXPECT_EQ(level, 0);
    EXPECT_EQ(link.FlashErase(0x100000), FAILED);
    EXPECT_EQ(link.SetTargetState(1), FAILED);
    EXPECT_EQ(link.SelectBleFlashSpace(0), FAILED);
    EXPECT_FALSE(link.EnableAccessProtection(1));
    EXPECT_FALSE(link.DisableAccessProtection());
    EXPECT_FALSE(link.ConnectBleTarget());
    int value = 5;
    EXPECT_EQ(link.ReadUIDInfo(value), 0);
    EXPECT_EQ(value, 0);
    FileInfo info;
    uint32_t count = 0;
    EXPECT_EQ(link.DownloadToDevice(info, nullptr, count), FAILED);
    EXPECT_EQ(link.SectorEraseForDownload(info), FAILED);
    uint8_t mode = 0;
    EXPECT_EQ(link.GetBootMemoryApMode(mode), FAILED);
    EXPECT_EQ(mode, 1);
}

TEST_F(LinkBench, read_memory_goes_in_kilobyte_blocks_and_returns_the_bytes)
{
    Open({{"transport", "hid"}});
    std::vector<uint8_t> stored(2500);
    for (size_t i = 0; i < stored.size(); ++i)
        stored[i] = static_cast<uint8_t>(i * 13);
    bench_.withProbe(0, [&](ksim::VirtualProbe& p) { p.target().mainFlash().store(0, stored.data(), 2500); });

    std::vector<uint8_t> buffer(2500);
    ASSERT_EQ(link.ReadMemory(kFlash, 2500, buffer.data(), 0, 2500), 0);
    EXPECT_EQ(buffer, stored);
    std::vector<uint32_t> expected = PacketStarts(kFlash, 1024, 56);
    for (uint32_t block : {kFlash + 1024, kFlash + 2048}) {
        const std::vector<uint32_t> more = PacketStarts(block, block == kFlash + 2048 ? 452 : 1024, 56);
        expected.insert(expected.end(), more.begin(), more.end());
    }
    std::vector<uint32_t> seen;
    for (const Request& r : Requests(0xB2))
        seen.push_back(r.address);
    EXPECT_EQ(seen, expected);
}

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

TEST_F(LinkBench, a_cancelled_read_sends_nothing_and_clears_the_flag)
{
    Open({{"transport", "hid"}});
    std::vector<uint8_t> buffer(100);
    link.SetCancelFlag(true);
    EXPECT_EQ(link.ReadMemory(kFlash, 100, buffer.data(), 0, 0), 161);
    EXPECT_TRUE(Requests(0xB2).empty());
    EXPECT_EQ(link.ReadMemory(kFlash, 100, buffer.data(), 0, 0), 0);
    EXPECT_EQ(Requests(0xB2).size(), 2u);
}

TEST_F(LinkBench, a_ble_read_selects_the_main_space_first)
{
    Open(kS17);
    ASSERT_TRUE(link.ConnectBleTarget());
    ClearLog();
    std::vector<uint8_t> buffer(100);
    ASSERT_EQ(link.ReadMemory(0, 100, buffer.data(), 0, 0), 0);
    const auto commands = Commands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[0], std::make_pair(uint8_t{0xBE}, uint8_t{0x01}));
    EXPECT_EQ(commands[1], std::make_pair(uint8_t{0xBE}, uint8_t{0x04}));
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

TEST_F(LinkBench, flash_erase_adds_bank_two_only_beyond_512_kilobytes)
{
    Open({{"transport", "hid"}});
    EXPECT_EQ(link.FlashErase(0x80000), 0);
    ASSERT_EQ(Requests(0xB4).size(), 1u);
    EXPECT_EQ(Requests(0xB4)[0].sub, 0x03);
    ClearLog();
    link.FlashErase(0x80001);
    const std::vector<Request> both = Requests(0xB4);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[1].sub, 0x04);
}

TEST_F(LinkBench, a_failed_bank_one_erase_skips_bank_two)
{
    Open({{"transport", "hid"}, {"fault_status", "B4.03,0x22"}});
    EXPECT_EQ(link.FlashErase(0x100000), 0x22);
    EXPECT_EQ(Requests(0xB4).size(), 1u);
}

TEST_F(LinkBench, access_protection_levels)
{
    Open({{"transport", "hid"}, {"status_valid", "0"}});
    int level = 5;
    EXPECT_EQ(link.IsAccessProtected(level), 0);
    EXPECT_EQ(level, -1);
}

TEST_F(LinkBench, a_protected_target_reports_level_one)
{
    Open({{"transport", "hid"}, {"protection", "1"}});
    int level = 0;
    EXPECT_EQ(link.IsAccessProtected(level), 0);
    EXPECT_EQ(level, 1);
}

TEST_F(LinkBench, ble_connect_state_follows_the_module)
{
    Open(kS17);
    uint8_t connected = 7;
    link.GetBleConnectState(connected);
    EXPECT_EQ(connected, 0);
    ASSERT_TRUE(link.ConnectBleTarget());
    EXPECT_EQ(link.GetBleConnectState(connected), 0);
    EXPECT_EQ(connected, 1);
}

TEST_F(LinkBench, user_system_data_travels_with_its_complements)
{
    Open(kS09);
    // Byte 0 holds the access protection: A5 keeps the target readable.
    std::vector<uint8_t> readable(256, 0x3C);
    readable[0] = 0xA5;
    ASSERT_EQ(link.WriteUserSystemData(ZR32_S09, readable.data(), 256), 1);
    std::vector<uint8_t> back(256);
    ASSERT_EQ(link.ReadUserSystemData(ZR32_S09, back.data(), 256), 1);
    EXPECT_EQ(back, readable);
    EXPECT_EQ(link.WriteUserSystemData(ZR32_S09, readable.data(), 255), 0);

    ClearLog();
    const std::vector<uint8_t> data(256, 0x5A);
    ASSERT_EQ(link.WriteUserSystemData(ZR32_S09, data.data(), 256), 1);
    std::vector<uint8_t> sent;
    for (const Request& r : Requests(0xB3)) {
        if (r.sub == 0x02)
            sent.insert(sent.end(), r.data.begin(), r.data.begin() + r.length);
    }
    ASSERT_EQ(sent.size(), 512u);
    for (size_t i = 0; i < sent.size(); ++i)
        ASSERT_EQ(sent[i], i % 2 == 0 ? 0x5A : 0xA5) << i;
}

FileInfo Image(std::initializer_list<std::pair<uint32_t, uint32_t>> parts, ImageLocation position)
{
    FileInfo info;
    for (const auto& [address, size] : parts) {
        ImagePart part;
        part.startAddress = address;
        part.endAddress = address + size - 1;
        for (uint32_t i = 0; i < size; ++i)
            part.bytes.push_back(static_cast<uint8_t>(i * 7 + 1));
        info.parts.append(part);
    }
    info.location = position;
    return info;
}

TEST_F(LinkBench, download_writes_kilobyte_chunks_between_the_main_flash_brackets)
{
    Open({{"transport", "hid"}});
    const FileInfo info = Image({{kFlash + 0x1000, 2500}}, FILE_POS_IN_MAIN_FLASH);
    std::vector<uint8_t> ble(163832, 0xFF);
    uint32_t count = 0;
    ASSERT_EQ(link.DownloadToDevice(info, ble.data(), count), 0);
    EXPECT_EQ(count, 0u);
    const std::vector<Request> writes = Requests(0xB3);
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front().sub, 0x03); // main flash: B3 03 01 phase
    EXPECT_EQ(writes.front().address >> 16, 0x0100u);
    EXPECT_EQ(writes.back().sub, 0x03);
    EXPECT_EQ(writes.back().address >> 16, 0x0101u);
    std::vector<uint32_t> starts;
    for (const Request& r : writes)
        if (r.sub == 0x00)
            starts.push_back(r.address);
    std::vector<uint32_t> expected = PacketStarts(kFlash + 0x1000, 1024, 56);
    for (uint32_t block : {kFlash + 0x1400, kFlash + 0x1800}) {
        const std::vector<uint32_t> more = PacketStarts(block, block == kFlash + 0x1800 ? 452 : 1024, 56);
        expected.insert(expected.end(), more.begin(), more.end());
    }
    EXPECT_EQ(starts, expected);
    bench_.withProbe(0, [&](ksim::VirtualProbe& p) {
        EXPECT_EQ(p.target().mainFlash().read(0x1000, 2500),
                  info.parts[0].bytes);
    });
}

TEST_F(LinkBench, a_ble_part_is_kept_for_the_checksum_and_written_to_the_module)
{
    Open(kS17);
    ASSERT_TRUE(link.ConnectBleTarget());
    const FileInfo info = Image({{0x100, 600}}, FILE_POS_IN_BLE_FLASH);
    std::vector<uint8_t> ble(163832, 0xFF);
    uint32_t count = 0;
    ASSERT_EQ(link.DownloadToDevice(info, ble.data(), count), 0);
    EXPECT_EQ(count, 600u);
    EXPECT_TRUE(std::equal(ble.begin() + 0x100, ble.begin() + 0x100 + 600, info.parts[0].bytes.begin()));
    EXPECT_EQ(ble[0xFF], 0xFF);
    EXPECT_EQ(ble[0x100 + 600], 0xFF);
    bench_.withProbe(0, [&](ksim::VirtualProbe& p) {
        EXPECT_EQ(p.ble().space(0).read(0x100, 600), info.parts[0].bytes);
    });
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
    const FileInfo info = Image({{kFlash, 16}, {0x08400000, 16}}, FILE_POS_IN_MAIN_SPIM_FLASH);
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
    bench_.withProbe(0, [](ksim::VirtualProbe& p) {
        std::string error;
        ASSERT_TRUE(p.configure("fault_status", "BE.01,0x22", error)) << error;
    });
    EXPECT_EQ(link.SelectBleFlashSpace(0), 0x22);
    EXPECT_FALSE(link.EnableBleAccessProtection());
    std::vector<uint8_t> buffer(16);
    EXPECT_EQ(link.ReadMemory(0, 16, buffer.data(), 0, 0), 0x22);
}

}  // namespace
