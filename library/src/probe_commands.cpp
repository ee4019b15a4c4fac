// Probe information and link settings.
#include "commands_probe.h"
#include "device_control.h"
#include "exchange.h"
#include "result_codes.h"

#include <algorithm>

namespace korvex {
namespace {

constexpr uint8_t kEncryptionOn = 0x01;
constexpr uint8_t kEncryptionOff = 0x02;
constexpr size_t kVersionReplyExtra = 4;  // B0 00 05 before the data, the state byte after it

}  // namespace

int ZRDeviceControl::KORVEXDevice_GetVersion(int len, uint8_t *buf) {
    if (!buf || len < 2) return INPUT_PARAMS_ERROR;
    Reply reply;
    int rc = exchange(*this, probe_cmd::GetVersion, {}, reply, static_cast<size_t>(len) + kVersionReplyExtra);
    if (rc == kSuccess) std::copy_n(reply.bytes() + 3, len, buf);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_GetAPPState(uint8_t *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    Reply reply;
    int rc = exchange(*this, probe_cmd::GetAPPState, {}, reply, 8);
    if (rc == kSuccess) *out = reply[7];
    return rc;
}

int ZRDeviceControl::KORVEXDevice_GetEncKey(int len, uint8_t *buf) {
    if (len < 4 || !buf) return INPUT_PARAMS_ERROR;
    return dataExchange(*this, probe_cmd::GetEncKey, {}, buf, 4);
}

int ZRDeviceControl::KORVEXDevice_SetEncKey(int len, const uint8_t *buf) {
    if (len < 6 || len > 24 || !buf) return INPUT_PARAMS_ERROR;
    return statusExchange(*this, probe_cmd::SetEncKey, {ByteView(buf, static_cast<size_t>(len))});
}

int ZRDeviceControl::KORVEXDevice_GetSWDSpeed(int *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    uint8_t value[4];
    int rc = dataExchange(*this, probe_cmd::GetSWDSpeed, {}, value, 4);
    if (rc == kSuccess) *out = static_cast<int>(getU32(value));
    return rc;
}

int ZRDeviceControl::KORVEXDevice_SetSWDSpeed(int speed) {
    return statusWith(*this, probe_cmd::SetSWDSpeed, be32(static_cast<uint32_t>(speed)));
}

int ZRDeviceControl::KORVEXDevice_GetRsetMode(uint8_t *out) { return readByte(*this, probe_cmd::GetRsetMode, out); }

int ZRDeviceControl::KORVEXDevice_SetRsetMode(uint8_t mode) {
    if (mode > 2) return INPUT_PARAMS_ERROR;
    return statusWith(*this, probe_cmd::SetRsetMode, {mode});
}

int ZRDeviceControl::KORVEXDevice_GetLinkUID(int len, uint8_t *buf) {
    if (len != 12 || !buf) return INPUT_PARAMS_ERROR;
    return dataExchange(*this, probe_cmd::GetLinkUID, {}, buf, 12);
}

int ZRDeviceControl::KORVEXDevice_GetButtonFreeState(uint8_t *out) {
    return readByte(*this, probe_cmd::GetButtonFreeState, out);
}

int ZRDeviceControl::KORVEXDevice_SetButtonFreeState(uint8_t state) {
    if (state > 1) return INPUT_PARAMS_ERROR;
    return statusWith(*this, probe_cmd::SetButtonFreeState, {state});
}

int ZRDeviceControl::KORVEXDevice_GetOfflineStepState(uint8_t *out) {
    return readByte(*this, probe_cmd::GetOfflineStepState, out);
}

int ZRDeviceControl::KORVEXDevice_SetSWDAutoDetect() { return statusWith(*this, probe_cmd::SetSWDAutoDetect, {0x01}); }

int ZRDeviceControl::KORVEXDevice_SetVKPVersion(uint32_t version) {
    return statusWith(*this, probe_cmd::SetVKPVersion, be32(version));
}

int ZRDeviceControl::KORVEXDevice_EncryptionTrans() {
    return statusWith(*this, probe_cmd::EncryptionSwitch, {kEncryptionOn});
}

int ZRDeviceControl::KORVEXDevice_DisEncryptionTrans() {
    return statusWith(*this, probe_cmd::EncryptionSwitch, {kEncryptionOff});
}

int ZRDeviceControl::KORVEXDevice_GetBLESPIRate(uint8_t *out) { return readByte(*this, probe_cmd::GetBLESPIRate, out); }

int ZRDeviceControl::KORVEXDevice_SetBLESPIRate(uint8_t rate) {
    return statusWith(*this, probe_cmd::SetBLESPIRate, {rate});
}

}  // namespace korvex
