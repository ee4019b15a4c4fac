// -w4/-w2 and -mem32/-mem16: one word written or read through the probe's debug access.
#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "link_interface.h"
#include "sub_option_walk.h"
#include "share_parameter.h"

#include <array>
#include <cstring>

namespace {
constexpr uint8_t kWidth32 = 0x20;
constexpr uint8_t kWidth16 = 0x10;

// Bytes of a word, most significant first: the value text reads in address order.
std::array<uint8_t, 4> BigEndian(uint32_t value)
{
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value)};
}

// The option's values (address, and value for a write); what follows goes back to the dispatcher
// as it stands.
int ReadValues(int argc, char* argv[], int& index, uint32_t (&values)[2])
{
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    for (uint32_t& value : values) {
        if (!walk.Next(step))
            break;
        value = step.number;
    }
    while (walk.Next(step)) {
    }
    return walk.Result();
}
} // namespace

int DebugWrite(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    const bool word = std::strcmp(argv[index], "-w4") == 0;
    uint32_t values[2] = {};
    const int walked = ReadValues(argc, argv, index, values);
    if (walked != OP_SUCCESS)
        return walked;
    const uint32_t address = values[0];
    const uint32_t value = values[1];
    PrintLine("\r\nDebug write data begin......");
    std::array<uint8_t, 4> bytes = BigEndian(value);
    const int result = word ? g_link.DebugWriteMemory(address, 4, bytes.data(), kWidth32)
                            : g_link.DebugWriteMemory(address, 2, bytes.data() + 2, kWidth16);
    if (result != 0) {
        PrintLine("Debug write failed!");
        return OP_DEBUG_WRITE_FAILED;
    }
    PrintLine("Debug write finished! addr:" + ShareParameter::IntToHexString(static_cast<int32_t>(address), 8) +
              " value:" + ShareParameter::IntToHexString(static_cast<int32_t>(value), 8));
    return OP_SUCCESS;
}

int DebugRead(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    const bool word = std::strcmp(argv[index], "-mem32") == 0;
    uint32_t values[2] = {};
    const int walked = ReadValues(argc, argv, index, values);
    if (walked != OP_SUCCESS)
        return walked;
    const uint32_t address = values[0];
    PrintLine("\r\nDebug read data begin......");
    std::array<uint8_t, 4> bytes{};
    const int length = word ? 4 : 2;
    if (g_link.DebugReadMemory(address, length, bytes.data(), word ? kWidth32 : kWidth16) != 0) {
        PrintLine("Debug read failed!");
        return OP_DEBUG_READ_FAILED;
    }
    std::string line = "Debug read finished! value:";
    for (int i = 0; i < length; ++i)
        line += ShareParameter::IntToHexString(bytes[static_cast<size_t>(i)], 2);
    PrintLine(line);
    return OP_SUCCESS;
}
