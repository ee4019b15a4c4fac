// One row per probe command: the call, the exact request it must put on the wire, a reply the
// probe gives, the reply form (for the generated bad replies) and the result of a silent probe.
// One table per command group.
#pragma once

#include "KORVEXLIB.h"
#include "scripted_probe.h"

#include <functional>
#include <string>
#include <vector>

namespace korvex_test {

enum class ReplyKind {
    Status,          // cmd, status
    Data,            // cmd, sub, n, data: wrong sub or n give 4
    DataSubResult,   // as Data, but a wrong sub byte is the result
    DataSubIgnored,  // as Data, the sub byte is not compared
    Memory,          // cmd, type, 4 bytes, length (2), data: a wrong type is the result
    Debug,           // cmd, sub, 5 bytes, length (2), data: a wrong sub is the result
    EchoResult,      // cmd, echo, fields: a wrong echo is the result, the fields are not compared
    EchoLength,      // cmd, echo, length (2), data: a wrong echo is the result, a wrong length gives 4
    Header,          // cmd, sub, fields: a wrong sub gives 4, the fields are not compared
    None,            // the probe answers nothing; sending is the whole command
};

constexpr int kNotWaitedFor = 0;  // silent-probe result not checked (time-out too long for a test)

struct PacketRow {
    std::string name;
    std::function<int(KORVEX_HANDLE)> call;
    std::vector<Bytes> requests;  // in order; composite operations send several
    Bytes reply;                  // given to every request
    ReplyKind kind;
    int silentResult;             // TRANS_WRITE_ERROR or TRANS_READ_ERROR, or kNotWaitedFor
};

const std::vector<PacketRow> &probeInformationRows();
const std::vector<PacketRow> &targetRows();
const std::vector<PacketRow> &bleRows();
const std::vector<PacketRow> &qspiRows();
const std::vector<PacketRow> &settingsRows();
const std::vector<PacketRow> &offlineRows();
const std::vector<PacketRow> &firmwareRows();

// Every table, in the order of the group names below.
std::vector<const std::vector<PacketRow> *> allPacketGroups();
extern const char *const kPacketGroupNames[];

}  // namespace korvex_test
