#pragma once

#include "mcu_series.h"

#include <cstdint>
#include <string>

// Main flash size in KB from the PID's flash size index (0 when the index has no entry).
int32_t FlashKilobytesOfPid(int32_t pid);
// Main flash sector size in bytes from the PID's sector size code (0 for an unknown code).
int32_t SectorSizeOfPid(int32_t pid);
// Part number of a PID within a series (empty when unknown).
std::string PartNumberOfPid(int32_t pid, int32_t series);

bool MCUHaveSPIM(McuSeries series);
bool MCUHaveAPMode(McuSeries series);
// The high access protection level cannot be removed again on these series.
bool MCUFAPLevel2CanNotDisable(McuSeries series);

// Sets the OTP data and lock areas of g_shareParameter for its series.
void InitOTPAndLOCKInfo();

// Finds a -device part name (exact, case-sensitive); series is 0 when not found.
bool IsZR32Device(const std::string& name, McuSeries& series);

// PID lookups, one per part family: the part number or the empty string.
std::string GetZR32S01PartNo(int32_t pid);
std::string GetZR32S04PartNo(int32_t pid);
std::string GetZR32S05PartNo(int32_t pid);
std::string GetZR32S07PartNo(int32_t pid);
std::string GetZR32S08PartNo(int32_t pid);
std::string GetZR32S09PartNo(int32_t pid);
std::string GetZR32S13PartNo(int32_t pid);
std::string GetZR32S14PartNo(int32_t pid);
std::string GetZR32S15PartNo(int32_t pid);
std::string GetZR32S16PartNo(int32_t pid);
std::string GetZR32S17PartNo(int32_t pid);
std::string GetZR32S18PartNo(int32_t pid);
std::string GetZR32S19_S20_S30PartNo(int32_t pid);
std::string GetZR32S21_S22_S23PartNo(int32_t pid);
std::string GetZR32S24PartNo(int32_t pid);
std::string GetZR32S25_S26_S28PartNo(int32_t pid);
std::string GetZR32S29PartNo(int32_t pid);
std::string GetZR32S33_S34PartNo(int32_t pid);
std::string GetZR32S35PartNo(int32_t pid);
std::string GetZR32S36PartNo(int32_t pid);
