#include "handle_table.h"

namespace korvex {

KorvexDeviceListControl g_KorvexListControl;
std::vector<std::unique_ptr<KorvexControlInfo>> KORVEXlist;
libusb_context *ctx = nullptr;

KorvexControlInfo *findRecord(uint64_t handle) {
    for (const std::unique_ptr<KorvexControlInfo> &record : KORVEXlist)
        if (handleOf(*record->deviceControl) == handle) return record.get();
    return nullptr;
}

void stamp(KorvexControlInfo &record, Stamps stamps) {
    const int64_t now = GetCurrentTimeSeconds();
    record.lastLinkCommTime = now;
    if (stamps == Stamps::LinkTarget) record.lastTargetCommTime = now;
    if (stamps == Stamps::LinkBle) record.lastBLECommTime = now;
}

}  // namespace korvex
