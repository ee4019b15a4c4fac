#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What became of a -usd --get.
enum class UsdReadResult {
    SAVED,       // read from the device and saved
    READ_FAILED, // the device did not give the block
    SAVE_FAILED, // read, but the file could not be written (an existing file is left as it was)
};

// Reads the block from the device and saves it as byte/complement pairs at path.
UsdReadResult ReadUserSystemDataFromDevice(const std::string& path);

// Writes a logical block and checks it: by reading it back, or by the protection level when its
// byte 0 switches access protection on. On ZR32_S13 and ZR32_S14 bytes 36 and 37 of block become 0.
bool WriteUserSystemDataToDevice(std::vector<uint8_t>& block);

// Finds the first "-usd --set --fn <file>" group of the command line and keeps its file name for
// LoadUserSystemDataFromFileToDeviceExceptFAP. False when there is none.
bool GetUserSystemDataFile(int argc, char* argv[]);

// Writes the user system data file found by GetUserSystemDataFile with access protection forced
// off; true when there was nothing to do or the write and its check succeeded.
bool LoadUserSystemDataFromFileToDeviceExceptFAP();
