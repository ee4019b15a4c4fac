// Exports for the external QSPI flash behind the target.
#include "byte_view.h"
#include "handle_table.h"

using namespace korvex;
using D = ZRDeviceControl;

namespace {
constexpr Stamps T = Stamps::LinkTarget;
constexpr Stamps L = Stamps::Link;  // register access
}

extern "C" {

KORVEX_API int KORVEX_QSPI_DownLoad_Target(KORVEX_HANDLE h, uint32_t addr, int len, const uint8_t *data) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_QSPI_DownLoad_Target(addr, len, data); });
}
KORVEX_API int KORVEX_QSPI_Upload(KORVEX_HANDLE h, uint32_t addr, int len, uint8_t *buf) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_QSPI_UPLoad_Target(addr, len, buf); });
}
KORVEX_API int KORVEX_QSPI_SectorErase(KORVEX_HANDLE h, uint32_t addr, int count) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_QSPI_Sector_Erase_Memory(addr, count); });
}
KORVEX_API int KORVEX_QSPI_BlockErase(KORVEX_HANDLE h, uint32_t addr, int count) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_QSPI_Block_Erase_Memory(addr, count); });
}
KORVEX_API int KORVEX_QSPI_ChipErase(KORVEX_HANDLE h) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_QSPI_Chip_Erase_Memory(); });
}
KORVEX_API int KORVEX_QSPI_Config_Cmd_Parameter(KORVEX_HANDLE h, int len, const uint8_t *block) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_QSPI_Config_Cmd_Parameter(len, block); });
}
KORVEX_API int KORVEX_QSPI_Custom_Cmd_Parameter(KORVEX_HANDLE h, int len, const uint8_t *block) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_QSPI_Send_Custom_Cmd(len, block); });
}
KORVEX_API int KORVEX_QSPI_Set_Register_Base_Addr(KORVEX_HANDLE h, uint32_t addr) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_QSPI_Set_Register_Base_Addr(addr); });
}
KORVEX_API int KORVEX_QSPI_Set_State(KORVEX_HANDLE h, uint8_t state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_QSPI_Set_State(state); });
}
// Two words, or with `single` the first word alone, most significant byte first.
KORVEX_API int KORVEX_QSPI_Bit_Write(KORVEX_HANDLE h, uint32_t addr, int word1, int word2, uint8_t single) {
    return guarded(h, L, [&](D &d) {
        std::vector<uint8_t> words = be32(static_cast<uint32_t>(word1));
        if (single) return d.KORVEXDevice_QSPI_Write_Only_Transfer(addr, static_cast<int>(words.size()), words.data());
        putU32(words, static_cast<uint32_t>(word2));
        return d.KORVEXDevice_QSPI_Bit_Write(addr, static_cast<int>(words.size()), words.data());
    });
}

}  // extern "C"
