// The probe's own settings, the display firmware version, the factory reset and the production tests.
#include "commands_settings.h"
#include "device_control.h"
#include "exchange.h"
#include "result_codes.h"

#include <algorithm>

namespace korvex {
namespace {

namespace cmd = settings_cmd;

constexpr size_t kLcdVersionHeader = 3;  // B0 22 02
constexpr size_t kTvccValueOffset = 1;   // within the 9 data bytes
constexpr uint8_t kPinTestStart = 0x55;
constexpr uint8_t kPinTestSysReset = 0xAA;
constexpr uint8_t kLedTest = 0x66;
constexpr uint8_t kLcdTestStart = 0x55;
constexpr int kMachineTimeMin = 10;
constexpr int kMachineTimeMax = 1000;
// Only a request carrying these bytes makes the probe forget its settings and stored projects.
constexpr uint8_t kFactoryResetCode[] = {0x52, 0x53, 0x54, 0x21};

int readWord(ZRDeviceControl &d, const Command &command, uint32_t *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    uint8_t value[4];
    int rc = dataExchange(d, command, {}, value, sizeof value);
    if (rc == kSuccess) *out = getU32(value);
    return rc;
}

bool machineTimeInRange(int t) { return t >= kMachineTimeMin && t <= kMachineTimeMax; }

}  // namespace

int ZRDeviceControl::KORVEXDevice_GetOfflineDNState(uint8_t *out) { return readByte(*this, cmd::GetOfflineDNState, out); }

int ZRDeviceControl::KORVEXDevice_GetTargetStableTime(uint32_t *out) { return readWord(*this, cmd::GetTargetStableTime, out); }

int ZRDeviceControl::KORVEXDevice_SetTargetStableTime(uint32_t time) {
    return statusWith(*this, cmd::SetTargetStableTime, be32(time));
}

int ZRDeviceControl::KORVEXDevice_GetVoltageLevelValue(uint8_t sel, uint16_t *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    const uint8_t request[] = {sel};
    uint8_t data[3];
    int rc = dataExchange(*this, cmd::GetVoltageLevelValue, {ByteView(request, 1)}, data, sizeof data);
    if (rc != kSuccess) return rc;
    if (data[0] != sel) return TRANS_READ_PARAMS_ERROR;
    *out = getU16(data + 1);
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_SetVoltageLevelValue(uint8_t sel, uint16_t value) {
    std::vector<uint8_t> params{sel};
    putU16(params, value);
    return statusWith(*this, cmd::SetVoltageLevelValue, params);
}

int ZRDeviceControl::KORVEXDevice_GetVoltageState(uint8_t *out) { return readByte(*this, cmd::GetVoltageState, out); }
int ZRDeviceControl::KORVEXDevice_SetVoltageState(uint8_t state) { return statusWith(*this, cmd::SetVoltageState, {state}); }
int ZRDeviceControl::KORVEXDevice_GetVoltageCurrentLevel(uint8_t *out) {
    return readByte(*this, cmd::GetVoltageCurrentLevel, out);
}
int ZRDeviceControl::KORVEXDevice_SetVoltageCurrentLevel(uint8_t level) {
    return statusWith(*this, cmd::SetVoltageCurrentLevel, {level});
}

int ZRDeviceControl::KORVEXDevice_GetTVCCVoltageValue(int *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    uint8_t data[9];
    int rc = dataExchange(*this, cmd::GetTVCCVoltageValue, {}, data, sizeof data);
    if (rc == kSuccess) *out = getU16(data + kTvccValueOffset);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_GetOfflineDownloadType(uint8_t *out) {
    return readByte(*this, cmd::GetOfflineDownloadType, out);
}
int ZRDeviceControl::KORVEXDevice_SetOfflineDownloadType(uint8_t type) {
    return statusWith(*this, cmd::SetOfflineDownloadType, {type});
}
int ZRDeviceControl::KORVEXDevice_GetOfflineISPUartBps(uint32_t *out) {
    return readWord(*this, cmd::GetOfflineISPUartBps, out);
}
int ZRDeviceControl::KORVEXDevice_SetOfflineISPUartBps(uint32_t bps) {
    return statusWith(*this, cmd::SetOfflineISPUartBps, be32(bps));
}
int ZRDeviceControl::KORVEXDevice_GetOfflineISPAutoBoot(uint8_t *out) {
    return readByte(*this, cmd::GetOfflineISPAutoBoot, out);
}
int ZRDeviceControl::KORVEXDevice_SetOfflineISPAutoBoot(uint8_t on) {
    return statusWith(*this, cmd::SetOfflineISPAutoBoot, {on});
}
int ZRDeviceControl::KORVEXDevice_GetBuzzerState(uint8_t *out) { return readByte(*this, cmd::GetBuzzerState, out); }
int ZRDeviceControl::KORVEXDevice_SetBuzzerState(uint8_t state) { return statusWith(*this, cmd::SetBuzzerState, {state}); }

int ZRDeviceControl::KORVEXDevice_GetMachineBurningState(uint8_t *a, uint8_t *b, int *c, int *d) {
    if (!a || !b || !c || !d) return INPUT_PARAMS_ERROR;
    uint8_t data[10];
    int rc = dataExchange(*this, cmd::GetMachineBurningState, {}, data, sizeof data);
    if (rc != kSuccess) return rc;
    *a = data[0];
    *b = data[1];
    *c = static_cast<int>(getU32(data + 2));
    *d = static_cast<int>(getU32(data + 6));
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_SetMachineBurningState(uint8_t a, uint8_t b, int c, int d) {
    if (a > 1 || b > 1 || !machineTimeInRange(c) || !machineTimeInRange(d)) return INPUT_PARAMS_ERROR;
    std::vector<uint8_t> params{a, b};
    putU32(params, static_cast<uint32_t>(c));
    putU32(params, static_cast<uint32_t>(d));
    return statusWith(*this, cmd::SetMachineBurningState, params);
}

int ZRDeviceControl::KORVEXDevice_GetUSBToUsartState(uint8_t *out) { return readByte(*this, cmd::GetUSBToUsartState, out); }
int ZRDeviceControl::KORVEXDevice_SetUSBToUsartState(uint8_t state) {
    return statusWith(*this, cmd::SetUSBToUsartState, {state});
}

int ZRDeviceControl::KORVEXDevice_GetLCDFWVersion(int len, uint8_t *buf) {
    if (!buf || len < 2) return INPUT_PARAMS_ERROR;
    Reply reply;
    int rc = exchange(*this, cmd::GetLCDFWVersion, {}, reply, static_cast<size_t>(len) + kLcdVersionHeader);
    if (rc == kSuccess) std::copy_n(reply.bytes() + kLcdVersionHeader, len, buf);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_GetUsartAutoMode(uint8_t *out) { return readByte(*this, cmd::GetUsartAutoMode, out); }
int ZRDeviceControl::KORVEXDevice_SetUsartAutoMode(uint8_t mode) { return statusWith(*this, cmd::SetUsartAutoMode, {mode}); }

int ZRDeviceControl::KORVEXDevice_FactoryDataReset() {
    return statusExchange(*this, cmd::FactoryDataReset, {ByteView(kFactoryResetCode, sizeof kFactoryResetCode)});
}

int ZRDeviceControl::KORVEXDevice_PinTestMode(uint32_t *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    const uint8_t request[] = {kPinTestStart};
    uint8_t value[4];
    int rc = dataExchange(*this, cmd::PinTestMode, {ByteView(request, 1)}, value, sizeof value);
    if (rc == kSuccess) *out = getU32(value);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_PinTestSysReset() { return statusWith(*this, cmd::PinTestNoReply, {kPinTestSysReset}); }
int ZRDeviceControl::KORVEXDevice_LEDTestMode() { return statusWith(*this, cmd::PinTestNoReply, {kLedTest}); }
int ZRDeviceControl::KORVEXDevice_PROLCDTestMode() { return statusWith(*this, cmd::PROLCDTestMode, {kLcdTestStart}); }

}  // namespace korvex
