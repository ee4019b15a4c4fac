#include "handle_table.h"

namespace korvex {

KorvexDeviceListControl g_KorvexListControl;
std::vector<std::unique_ptr<KorvexControlInfo>> KORVEXlist;
libusb_context *ctx = nullptr;

uint64_t newHandleValue() {
    // Starts away from small integers so that a count or an index passed by mistake is not a handle.
    static uint64_t next = 0x4B56000000000001ull;
    return next++;
}

KorvexControlInfo *findRecord(uint64_t handle) {
    for (const std::unique_ptr<KorvexControlInfo> &record : KORVEXlist)
        if (record->handle == handle) return record.get();
    return nullptr;
}

void stamp(KorvexControlInfo &record, Stamps stamps) {
    const int64_t now = GetCurrentTimeSeconds();
    record.lastLinkCommTime = now;
    if (stamps == Stamps::LinkTarget) record.lastTargetCommTime = now;
    if (stamps == Stamps::LinkBle) record.lastBLECommTime = now;
}

}  // namespace korvex
