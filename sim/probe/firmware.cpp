#include "probe/firmware.h"

#include <algorithm>
#include <iterator>

namespace ksim {
namespace {

constexpr size_t kHidReportSize = 64;

const CommandGroup *const kGroups[] = {
    &kProbeInfoGroup, &kTargetInfoGroup, &kMemoryReadGroup, &kMemoryWriteGroup, &kEraseGroup,
    &kProtectionGroup, &kFlashControlGroup, &kEncryptionGroup, &kBleGroup, &kDebugGroup,
    &kStoredImageGroup, &kStoredDataWriteGroup, &kStoredImageReadGroup, &kStoredDataReadGroup,
    &kOfflineConfigReadGroup, &kOfflineConfigWriteGroup, &kProbeFirmwareGroup, &kDisplayFirmwareGroup, &kQspiGroup,
};

const CommandGroup *findGroup(uint8_t cmd)
{
    auto it = std::find_if(std::begin(kGroups), std::end(kGroups), [cmd](const CommandGroup *g) { return g->cmd == cmd; });
    return it == std::end(kGroups) ? nullptr : *it;
}

const CommandRow *findRow(const CommandGroup &group, uint8_t sub)
{
    for (const CommandGroup *part = &group; part; part = part->more) {
        auto end = part->rows + part->count;
        auto it = std::find_if(part->rows, end, [sub](const CommandRow &row) { return row.covers(sub); });
        if (it != end)
            return it;
    }
    return nullptr;
}

std::string received(const Bytes &packet)
{
    // Trailing HID padding says nothing; show the bytes up to the last non-zero one.
    auto last = std::find_if(packet.rbegin(), packet.rend(), [](uint8_t b) { return b != 0; });
    const size_t shown = std::max<size_t>(2, static_cast<size_t>(packet.rend() - last));
    std::string text = "received " + std::to_string(packet.size()) + " bytes: " +
                       hexBytes(packet.data(), std::min(shown, packet.size()));
    if (shown < packet.size())
        text += " (then zeros)";
    return text;
}

std::string knownGroups()
{
    std::string text;
    for (const CommandGroup *group : kGroups)
        text += (text.empty() ? "" : " ") + hexByte(group->cmd);
    return text;
}

std::string knownRows(const CommandGroup &group)
{
    std::string text;
    for (const CommandGroup *part = &group; part; part = part->more) {
        for (size_t i = 0; i < part->count; ++i) {
            const CommandRow &row = part->rows[i];
            text += (text.empty() ? "" : " ") + hexByte(row.sub);
            if (row.subCount > 1)
                text += "-" + hexByte(static_cast<uint8_t>(row.sub + row.subCount - 1));
        }
    }
    return text;
}

std::string commandName(const CommandRow &row, const Bytes &packet)
{
    return hexByte(packet[0]) + "." + hexByte(packet[1]) + " " + row.name;
}

DecodedExchange refuse(uint8_t cmd, std::string command, std::string diagnostic)
{
    return {statusReply(cmd, Status::BadRequest), std::move(command), std::move(diagnostic)};
}

// Checks the packet against the row; returns an empty string when it fits, else the complaint.
std::string checkLength(const CommandRow &row, const Bytes &packet, bool viaHid, size_t &length)
{
    const std::string expected = "expected " + std::string(row.layout.text);
    length = expectedLength(row.layout, packet);
    if (length == 0)
        return received(packet) + "; too short to decode, " + expected;
    if (row.layout.parameterCount >= 0 && packet[2] != row.layout.parameterCount)
        return received(packet) + "; parameter count " + hexByte(packet[2]) + ", " + expected;
    if (!viaHid) {
        if (packet.size() != length)
            return received(packet) + "; " + expected + " (" + std::to_string(length) + " bytes)";
        return {};
    }
    if (packet.size() != kHidReportSize)
        return received(packet) + "; a HID report has 64 bytes";
    if (length > kHidReportSize)
        return received(packet) + "; " + expected + " makes " + std::to_string(length) + " bytes, more than one report";
    auto stray = std::find_if(packet.begin() + static_cast<long>(length), packet.end(), [](uint8_t b) { return b != 0; });
    if (stray != packet.end())
        return received(packet) + "; non-zero byte at offset " + std::to_string(stray - packet.begin()) + " after the " +
               std::to_string(length) + "-byte request, " + expected;
    return {};
}

}  // namespace

size_t expectedLength(const Layout &layout, const Bytes &request)
{
    switch (layout.kind) {
    case Layout::Fixed:
        return request.size() >= std::min<size_t>(layout.size, 3) ? layout.size : 0;
    case Layout::CountU8:
        return request.size() > layout.countAt ? size_t{layout.size} + request[layout.countAt] : 0;
    case Layout::CountBe16:
        if (request.size() <= size_t{layout.countAt} + 1)
            return 0;
        return size_t{layout.size} + (size_t{request[layout.countAt]} << 8 | request[layout.countAt + 1u]);
    case Layout::Custom:
        return layout.length(request);
    }
    return 0;
}

Bytes malformed(const Packet &request, FirmwareContext &ctx, const std::string &why)
{
    ctx.note = why;
    return statusReply(request.cmd(), Status::BadRequest);
}

Bytes storeSetting(const Packet &r, FirmwareContext &ctx, uint8_t &setting, uint8_t max, const char *what)
{
    if (r.u8(3) > max)
        return malformed(r, ctx, std::string(what) + " " + hexByte(r.u8(3)) + ", expected 00 to " + hexByte(max));
    setting = r.u8(3);
    return statusReply(r.cmd(), Status::Ok);
}

const CommandGroup *const *firmwareGroups(size_t &count)
{
    count = std::size(kGroups);
    return kGroups;
}

std::string describeRequest(const Bytes &packet)
{
    const CommandGroup *group = packet.size() < 2 ? nullptr : findGroup(packet[0]);
    const CommandRow *row = group ? findRow(*group, packet[1]) : nullptr;
    return row ? commandName(*row, packet) : std::string();
}

DecodedExchange runFirmware(const Bytes &packet, bool viaHid, FirmwareContext &ctx)
{
    if (packet.empty())
        return refuse(0x00, {}, "received 0 bytes; expected at least a command byte");
    const CommandGroup *group = findGroup(packet[0]);
    if (!group)
        return refuse(packet[0], {}, received(packet) + "; unknown command group " + hexByte(packet[0]) + ", expected one of " + knownGroups());
    if (packet.size() < 2)
        return refuse(packet[0], {}, received(packet) + "; expected at least 2 bytes (command, sub-command)");
    const CommandRow *row = findRow(*group, packet[1]);
    if (!row)
        return refuse(packet[0], {}, received(packet) + "; unknown sub-command " + hexByte(packet[1]) + " of group " +
                                         hexByte(packet[0]) + " (" + group->name + "), expected one of " + knownRows(*group));
    std::string command = commandName(*row, packet);
    size_t length = 0;
    if (std::string complaint = checkLength(*row, packet, viaHid, length); !complaint.empty())
        return refuse(packet[0], std::move(command), std::move(complaint));
    const Bytes request(packet.begin(), packet.begin() + static_cast<long>(length));
    ctx.note.clear();
    Bytes reply = row->handle(Packet(request), ctx);
    std::string diagnostic = ctx.note.empty() ? std::string() : received(packet) + "; " + ctx.note;
    return {std::move(reply), std::move(command), std::move(diagnostic)};
}

}  // namespace ksim
