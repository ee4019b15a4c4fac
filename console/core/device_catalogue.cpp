// Part names accepted by -device, one list per series of deviceListSeries, in the same order.
// The names follow the part-number scheme of part_number_table.cpp; "Universal" stands for any
// part of the series lists that carry it (the first such list, ZR32_S18, wins).

#include "device_catalogue.h"

namespace {
constexpr const char* kS02Names[] = {
    "ZR32S02CCT6", "ZR32S02CCT7", "ZR32S02CET6", "ZR32S02CET7",
    "ZR32S02CGT6", "ZR32S02CGT7", "ZR32S02RCT6", "ZR32S02RCT7",
    "ZR32S02RET6", "ZR32S02RET7", "ZR32S02RGT6", "ZR32S02RGT7",
    "ZR32S02VCT6", "ZR32S02VCT7", "ZR32S02VET6", "ZR32S02VET7",
    "ZR32S02VGT6",
};
constexpr const char* kS04Names[] = {
    "ZR32S04RCT6", "ZR32S04RDT6", "ZR32S04RET6", "ZR32S04RFT6",
    "ZR32S04VCT6", "ZR32S04VDT6", "ZR32S04VET6", "ZR32S04VFT6",
    "ZR32S04ZCT6", "ZR32S04ZDT6", "ZR32S04ZET6",
};
constexpr const char* kS05Names[] = {
    "ZR32S05K8T7", "ZR32S05K8U7", "ZR32S05KBT7", "ZR32S05KBU7",
    "ZR32S05KCT7", "ZR32S05KCU7", "ZR32S05KET7", "ZR32S05KEU7",
    "ZR32S05C8T7", "ZR32S05C8U7", "ZR32S05CBT7", "ZR32S05CBU7",
    "ZR32S05CCT7", "ZR32S05CCU7", "ZR32S05CET7", "ZR32S05CEU7",
    "ZR32S05R8T7",
};
constexpr const char* kS07Names[] = {
    "ZR32S07RET6", "ZR32S07RET7", "ZR32S07RGT6", "ZR32S07RGT7",
    "ZR32S07RHT6", "ZR32S07RHT7", "ZR32S07RIT6", "ZR32S07RIT7",
    "ZR32S07VET6", "ZR32S07VET7", "ZR32S07VGT6", "ZR32S07VGT7",
    "ZR32S07VHT6",
};
constexpr const char* kS08Names[] = {
    "ZR32S08CBT6", "ZR32S08CCT6", "ZR32S08CDT6", "ZR32S08RBT6",
    "ZR32S08RCT6", "ZR32S08RDT6", "ZR32S08VBT6", "ZR32S08VCT6",
};
constexpr const char* kS09Names[] = {
    "ZR32S09F6T6", "ZR32S09F6U6", "ZR32S09F8T6", "ZR32S09F8U6",
    "ZR32S09F9T6", "ZR32S09F9U6", "ZR32S09FAT6", "ZR32S09FAU6",
    "ZR32S09FBT6", "ZR32S09FBU6", "ZR32S09G6T6", "ZR32S09G6U6",
    "ZR32S09G8T6", "ZR32S09G8U6", "ZR32S09G9T6", "ZR32S09G9U6",
    "ZR32S09GAT6", "ZR32S09GAU6", "ZR32S09GBT6", "ZR32S09GBU6",
    "ZR32S09K6T6", "ZR32S09K6U6", "ZR32S09K8T6", "ZR32S09K8U6",
    "ZR32S09K9T6", "ZR32S09K9U6",
};
constexpr const char* kS13Names[] = {
    "ZR32S13K8T6", "ZR32S13K8U6", "ZR32S13KBT6", "ZR32S13KBU6",
    "ZR32S13KZT6", "ZR32S13KZU6", "ZR32S13KCT6", "ZR32S13KCU6",
    "ZR32S13C8T6", "ZR32S13C8U6", "ZR32S13CBT6", "ZR32S13CBU6",
    "ZR32S13CZT6", "ZR32S13CZU6", "ZR32S13CCT6", "ZR32S13CCU6",
    "ZR32S13R8T6", "ZR32S13R8U6", "ZR32S13RBT6", "ZR32S13RBU6",
    "ZR32S13RZT6",
};
constexpr const char* kS14Names[] = {
    "ZR32S14CBT6", "ZR32S14CBU6", "ZR32S14CCT6", "ZR32S14CCU6",
    "ZR32S14RBT6", "ZR32S14RBU6", "ZR32S14RCT6", "ZR32S14RCU6",
    "ZR32S14VBT6",
};
constexpr const char* kS15Names[] = {
    "ZR32S15F4P6", "ZR32S15F4U6", "ZR32S15F5P6", "ZR32S15F5U6",
    "ZR32S15F6P6", "ZR32S15F6U6", "ZR32S15F7P6", "ZR32S15F7U6",
    "ZR32S15G4P6", "ZR32S15G4U6", "ZR32S15G5P6", "ZR32S15G5U6",
    "ZR32S15G6P6", "ZR32S15G6U6", "ZR32S15G7P6", "ZR32S15G7U6",
};
constexpr const char* kS16Names[] = {
    "ZR32S16G6T6", "ZR32S16G6U6", "ZR32S16G8T6", "ZR32S16G8U6",
    "ZR32S16GBT6", "ZR32S16GBU6", "ZR32S16GCT6", "ZR32S16GCU6",
    "ZR32S16K6T6", "ZR32S16K6U6", "ZR32S16K8T6", "ZR32S16K8U6",
    "ZR32S16KBT6", "ZR32S16KBU6", "ZR32S16KCT6", "ZR32S16KCU6",
    "ZR32S16C6T6", "ZR32S16C6U6", "ZR32S16C8T6", "ZR32S16C8U6",
    "ZR32S16CBT6",
};
constexpr const char* kS17Names[] = {
    "ZR32S17CEU6",
};
constexpr const char* kS18Names[] = {
    "Universal", "ZR32S18K8T6", "ZR32S18K8T7", "ZR32S18K8U6",
    "ZR32S18K8U7", "ZR32S18KBT6", "ZR32S18KBT7", "ZR32S18KBU6",
    "ZR32S18KBU7", "ZR32S18KZT6", "ZR32S18KZT7", "ZR32S18KZU6",
    "ZR32S18KZU7", "ZR32S18KCT6", "ZR32S18KCT7", "ZR32S18KCU6",
    "ZR32S18KCU7", "ZR32S18T8T6", "ZR32S18T8T7", "ZR32S18T8U6",
    "ZR32S18T8U7", "ZR32S18TBT6", "ZR32S18TBT7", "ZR32S18TBU6",
};
constexpr const char* kS19Names[] = {
    "Universal", "ZR32S19K8T6", "ZR32S19K8U6", "ZR32S19KBT6",
    "ZR32S19KBU6", "ZR32S19KCT6", "ZR32S19KCU6", "ZR32S19C8T6",
    "ZR32S19C8U6", "ZR32S19CBT6", "ZR32S19CBU6",
};
constexpr const char* kS20Names[] = {
    "Universal", "ZR32S20CBT7", "ZR32S20CBU7", "ZR32S20CCT7",
    "ZR32S20CCU7", "ZR32S20CET7", "ZR32S20CEU7", "ZR32S20RBT7",
    "ZR32S20RBU7", "ZR32S20RCT7", "ZR32S20RCU7",
};
constexpr const char* kS21Names[] = {
    "Universal", "ZR32S21CCT6", "ZR32S21CCU6", "ZR32S21CDT6",
    "ZR32S21CDU6", "ZR32S21CET6", "ZR32S21CEU6", "ZR32S21RCT6",
    "ZR32S21RCU6", "ZR32S21RDT6", "ZR32S21RDU6",
};
constexpr const char* kS22Names[] = {
    "Universal", "ZR32S22RET6", "ZR32S22RET7", "ZR32S22RFT6",
    "ZR32S22RFT7", "ZR32S22RGT6", "ZR32S22RGT7", "ZR32S22VET6",
    "ZR32S22VET7", "ZR32S22VFT6", "ZR32S22VFT7",
};
constexpr const char* kS23Names[] = {
    "Universal", "ZR32S23CBU6", "ZR32S23CCU6", "ZR32S23CEU6",
    "ZR32S23RBU6", "ZR32S23RCU6", "ZR32S23REU6",
};
constexpr const char* kS24Names[] = {
    "ZR32S24RET6", "ZR32S24RGT6", "ZR32S24RIT6", "ZR32S24RJT6",
    "ZR32S24VET6", "ZR32S24VGT6", "ZR32S24VIT6", "ZR32S24VJT6",
    "ZR32S24ZET6", "ZR32S24ZGT6", "ZR32S24ZIT6", "ZR32S24ZJT6",
};
constexpr const char* kS25Names[] = {
    "ZR32S25K8T6", "ZR32S25K8U6", "ZR32S25KBT6", "ZR32S25KBU6",
    "ZR32S25KCT6", "ZR32S25KCU6", "ZR32S25C8T6", "ZR32S25C8U6",
};
constexpr const char* kS26Names[] = {
    "ZR32S26CCT7", "ZR32S26CCU7", "ZR32S26CET7", "ZR32S26CEU7",
    "ZR32S26RCT7", "ZR32S26RCU7",
};
// ZR32_S28 parts are identified by the probe only.
constexpr const char* kS29Names[] = {
    "Universal", "ZR32S29F7T6", "ZR32S29F7U6", "ZR32S29FAT6",
    "ZR32S29FAU6", "ZR32S29FZT6", "ZR32S29FZU6", "ZR32S29FYT6",
    "ZR32S29FYU6", "ZR32S29G7T6", "ZR32S29G7U6", "ZR32S29GAT6",
    "ZR32S29GAU6", "ZR32S29GZT6", "ZR32S29GZU6", "ZR32S29GYT6",
    "ZR32S29GYU6", "ZR32S29K7T6", "ZR32S29K7U6", "ZR32S29KAT6",
    "ZR32S29KAU6", "ZR32S29KZT6",
};
constexpr const char* kS30Names[] = {
    "Universal", "ZR32S30G6U6",
};
constexpr const char* kS33Names[] = {
    "Universal", "ZR32S33CCT6", "ZR32S33CCU6", "ZR32S33CET6",
    "ZR32S33CEU6", "ZR32S33CGT6", "ZR32S33CGU6", "ZR32S33RCT6",
    "ZR32S33RCU6", "ZR32S33RET6", "ZR32S33REU6", "ZR32S33RGT6",
    "ZR32S33RGU6",
};
constexpr const char* kS34Names[] = {
    "Universal", "ZR32S34RGT6", "ZR32S34RGH6", "ZR32S34RHT6",
    "ZR32S34RHH6", "ZR32S34RIT6", "ZR32S34RIH6", "ZR32S34VGT6",
    "ZR32S34VGH6", "ZR32S34VHT6", "ZR32S34VHH6", "ZR32S34VIT6",
    "ZR32S34VIH6",
};
} // namespace

const std::array<DeviceNameList, kDeviceListCount>& DeviceCatalogue()
{
    static constexpr std::array<DeviceNameList, kDeviceListCount> lists = {{
        {ZR32_S02, kS02Names, std::size(kS02Names)},
        {ZR32_S04, kS04Names, std::size(kS04Names)},
        {ZR32_S05, kS05Names, std::size(kS05Names)},
        {ZR32_S07, kS07Names, std::size(kS07Names)},
        {ZR32_S08, kS08Names, std::size(kS08Names)},
        {ZR32_S09, kS09Names, std::size(kS09Names)},
        {ZR32_S13, kS13Names, std::size(kS13Names)},
        {ZR32_S14, kS14Names, std::size(kS14Names)},
        {ZR32_S15, kS15Names, std::size(kS15Names)},
        {ZR32_S16, kS16Names, std::size(kS16Names)},
        {ZR32_S17, kS17Names, std::size(kS17Names)},
        {ZR32_S18, kS18Names, std::size(kS18Names)},
        {ZR32_S19, kS19Names, std::size(kS19Names)},
        {ZR32_S20, kS20Names, std::size(kS20Names)},
        {ZR32_S21, kS21Names, std::size(kS21Names)},
        {ZR32_S22, kS22Names, std::size(kS22Names)},
        {ZR32_S23, kS23Names, std::size(kS23Names)},
        {ZR32_S24, kS24Names, std::size(kS24Names)},
        {ZR32_S25, kS25Names, std::size(kS25Names)},
        {ZR32_S26, kS26Names, std::size(kS26Names)},
        {ZR32_S28, nullptr, 0},
        {ZR32_S29, kS29Names, std::size(kS29Names)},
        {ZR32_S30, kS30Names, std::size(kS30Names)},
        {ZR32_S33, kS33Names, std::size(kS33Names)},
        {ZR32_S34, kS34Names, std::size(kS34Names)},
    }};
    return lists;
}
