#pragma once

#include <cstdint>
#include <string>

// The name printed for a probe hardware version (byte 3 of the version reply).
std::string ProbeName(uint8_t hardwareVersion);

// The transport text of the probe line: "(HID)", "(WinUSB)" or empty.
std::string TransportText(uint8_t transportType);

// The probe line: name, firmware version, serial number and transport, with their fixed gaps.
std::string ProbeLine(const uint8_t (&version)[4], const std::string& serial, uint8_t transportType);

// Only these probes reach the BLE module.
bool ProbeReachesBle(uint8_t hardwareVersion);
