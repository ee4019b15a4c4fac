// Target identity and state, protection, flash lock, SPIM, security library areas, CRC, AP mode.
#include "commands_target.h"
#include "device_control.h"
#include "exchange.h"
#include "result_codes.h"

#include <algorithm>

namespace korvex {
namespace {

constexpr uint8_t kStatusQuery = 0xA5;
constexpr uint8_t kProtectLevel1 = 0xFF;
constexpr uint8_t kProtectLevel2 = 0xCC;
constexpr uint8_t kUnprotect = 0xA5;
constexpr uint8_t kEnable = 0x01;
constexpr uint8_t kDisable = 0x00;
constexpr uint8_t kEncryptionOn = 0x01;
constexpr uint8_t kEncryptionOff = 0x02;
constexpr uint32_t kSpimLimitMax = 0x1000000;

bool validPassword(uint32_t password) { return password != 0 && password != 0xFFFFFFFF; }

void append(std::vector<uint8_t> &out, const std::vector<uint8_t> &more) {
    out.insert(out.end(), more.begin(), more.end());
}

// Both CRC requests are answered by: sector (2), CRC (4); the sector must be the one asked for.
int readCrc(ZRDeviceControl &d, const Command &c, const std::vector<uint8_t> &params, uint16_t sector,
            uint32_t *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    uint8_t data[6];
    int rc = dataExchange(d, c, {params}, data, sizeof data);
    if (rc != kSuccess) return rc;
    if (getU16(data) != sector) return TRANS_READ_PARAMS_ERROR;
    *out = getU32(data + 2);
    return kSuccess;
}

// GetEPP: the sector list is encoded by the probe itself; the library sends no list bytes.
void GetEPP(int, const int *, uint8_t *a, uint8_t *b, uint8_t *c, uint8_t *d) { *a = *b = *c = *d = 0; }

}  // namespace

int ZRDeviceControl::KORVEXDevice_GetStatus_Target(uint8_t *valid, uint8_t *isProtected, uint8_t *third) {
    if (!valid || !isProtected || !third) return INPUT_PARAMS_ERROR;
    uint8_t flags = 0;
    const std::vector<uint8_t> params{kStatusQuery};
    int rc = dataExchange(*this, target_cmd::GetStatus, {params}, &flags, 1);
    if (rc != kSuccess) return rc;
    *valid = flags & 1;
    *isProtected = (flags >> 1) & 1;
    *third = (flags >> 2) & 1;
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_GetDeviceID_Target(uint8_t *buf) {
    if (!buf) return INPUT_PARAMS_ERROR;
    Reply reply;
    int rc = exchange(*this, target_cmd::GetDeviceID, {}, reply);
    // The ID bytes are handed over whenever a whole reply arrived, even one with a bad header.
    if (reply.size() == 8) std::copy_n(reply.bytes() + 3, 5, buf);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_SetDeviceID_Target(uint8_t series, int pid) {
    std::vector<uint8_t> params{series};
    append(params, be32(static_cast<uint32_t>(pid)));
    return statusWith(*this, target_cmd::SetDeviceID, params);
}

int ZRDeviceControl::KORVEXDevice_GetFlashSize_Target(int *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    uint8_t size[2];
    int rc = dataExchange(*this, target_cmd::GetFlashSize, {}, size, 2);
    if (rc == kSuccess) *out = getU16(size);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_SetState_Target(uint8_t state) {
    return statusWith(*this, target_cmd::SetState, {state});
}

int ZRDeviceControl::KORVEXDevice_GetTargetConnectState(uint8_t *out) {
    return readByte(*this, target_cmd::GetConnectState, out);
}

int ZRDeviceControl::KORVEXDevice_AccessProtect_Target(uint8_t level) {
    if (level != 1 && level != 2) return INPUT_PARAMS_ERROR;
    return statusWith(*this, target_cmd::AccessProtect, {level == 1 ? kProtectLevel1 : kProtectLevel2});
}

int ZRDeviceControl::KORVEXDevice_UnAccessProtect_Target() {
    return statusWith(*this, target_cmd::UnAccessProtect, {kUnprotect});
}

int ZRDeviceControl::KORVEXDevice_EraseWriteProtect_Target(int count, const int *sectors) {
    if (!sectors) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    uint8_t a, b, c, d;
    GetEPP(count, sectors, &a, &b, &c, &d);
    const std::vector<uint8_t> fixed{0x04, 0xFF};
    return statusExchange(*this, target_cmd::EraseWriteProtect, {fixed});
}

int ZRDeviceControl::KORVEXDevice_UnEraseWriteProtect_Target() {
    return statusWith(*this, target_cmd::UnEraseWriteProtect, {0, 0, 0, 0});
}

int ZRDeviceControl::KORVEXDevice_LockFlash_Target(uint8_t kind) {
    if (kind < 1 || kind > 3) return INPUT_PARAMS_ERROR;
    return statusWith(*this, target_cmd::LockFlash, {kind});
}

int ZRDeviceControl::KORVEXDevice_UnLockFlash_Target(uint8_t kind) {
    if (kind < 1 || kind > 3) return INPUT_PARAMS_ERROR;
    return statusWith(*this, target_cmd::UnLockFlash, {kind});
}

int ZRDeviceControl::KORVEXDevice_EnableSPIM_Target(uint8_t remap, uint8_t spimType, uint32_t size, uint32_t limit) {
    if (remap > 1 || (spimType != 1 && spimType != 2) || limit > kSpimLimitMax) return INPUT_PARAMS_ERROR;
    std::vector<uint8_t> params{static_cast<uint8_t>(remap + 4 * spimType)};
    append(params, be32(limit));
    append(params, be32(size));
    return statusWith(*this, target_cmd::EnableSPIM, params);
}

int ZRDeviceControl::KORVEXDevice_EncryptionTrans_Target() {
    return statusWith(*this, target_cmd::EncryptionSwitch, {kEncryptionOn});
}

int ZRDeviceControl::KORVEXDevice_DisEncryptionTrans_Target() {
    return statusWith(*this, target_cmd::EncryptionSwitch, {kEncryptionOff});
}

int ZRDeviceControl::KORVEXDevice_GetSlibState_Target(uint8_t *state, uint16_t *a, uint16_t *b, uint16_t *c,
                                                      uint16_t *d) {
    if (!state || !a || !b || !c || !d) return INPUT_PARAMS_ERROR;
    uint8_t data[9];
    int rc = dataExchange(*this, target_cmd::GetSlibState, {}, data, sizeof data);
    if (rc != kSuccess) return rc;
    *state = data[0];
    *a = getU16(data + 1);
    *b = getU16(data + 3);
    *c = getU16(data + 5);
    *d = getU16(data + 7);
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_EnableSlib_Target(uint32_t password, uint16_t a, uint16_t b, uint16_t c) {
    if (!validPassword(password)) return INPUT_PARAMS_ERROR;
    std::vector<uint8_t> params{kEnable};
    for (const std::vector<uint8_t> &field : {be32(password), be16(a), be16(b), be16(c)}) append(params, field);
    return statusWith(*this, target_cmd::SetSlib, params);
}

int ZRDeviceControl::KORVEXDevice_DisableSlib_Target(uint32_t password) {
    if (!validPassword(password)) return INPUT_PARAMS_ERROR;
    std::vector<uint8_t> params{kDisable};
    append(params, be32(password));
    params.resize(params.size() + 6, 0);
    return statusWith(*this, target_cmd::SetSlib, params);
}

int ZRDeviceControl::KORVEXDevice_GetCRCValue_Target(uint16_t start, uint16_t count, uint32_t *out) {
    std::vector<uint8_t> params = be16(start);
    append(params, be16(count));
    return readCrc(*this, target_cmd::GetCRCValue, params, start, out);
}

int ZRDeviceControl::KORVEXDevice_GetSectorCRCValue_Target(uint16_t sector, uint32_t *out) {
    return readCrc(*this, target_cmd::GetSectorCRCValue, be16(sector), sector, out);
}

int ZRDeviceControl::KORVEXDevice_GetSysSlibState_Target(uint8_t *state, uint16_t *value) {
    if (!state || !value) return INPUT_PARAMS_ERROR;
    uint8_t data[2];
    int rc = dataExchange(*this, target_cmd::GetSysSlibState, {}, data, sizeof data);
    if (rc != kSuccess) return rc;
    *state = data[0];
    *value = data[1];
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_EnableSysSlib_Target(uint32_t password, uint16_t value) {
    if (!validPassword(password)) return INPUT_PARAMS_ERROR;
    std::vector<uint8_t> params{kEnable};
    append(params, be32(password));
    params.push_back(static_cast<uint8_t>(value));
    return statusWith(*this, target_cmd::SetSysSlib, params);
}

int ZRDeviceControl::KORVEXDevice_DisableSysSlib_Target(uint32_t password) {
    if (!validPassword(password)) return INPUT_PARAMS_ERROR;
    std::vector<uint8_t> params{kDisable};
    append(params, be32(password));
    params.push_back(0);
    return statusWith(*this, target_cmd::SetSysSlib, params);
}

int ZRDeviceControl::KORVEXDevice_GetSysAPMode_Target(uint8_t *out) {
    return readByte(*this, target_cmd::GetSysAPMode, out);
}

int ZRDeviceControl::KORVEXDevice_SetSysAPMode_Target(uint32_t key) {
    return statusWith(*this, target_cmd::SetSysAPMode, be32(key));
}

}  // namespace korvex
