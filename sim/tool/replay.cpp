#include "replay.h"

#include "child_process.h"
#include "recording.h"
#include "sim_options.h"

#include "probe/packet.h"
#include "usb/preload.h"
#include "usb/testbed.h"

#include <cstdio>
#include <memory>
#include <mutex>

namespace ksim_tool {
namespace {

// The probe's side of a replay: answers from the recording, and on the first request that differs
// notes it and leaves the bus, so that the command fails at once instead of waiting for replies.
class ReplayedProbe {
public:
    ReplayedProbe(Recording recording, std::string file) : recording_(std::move(recording)), file_(std::move(file)) {}

    ksim::FirmwareAction answer(const std::vector<uint8_t> &packet, bool viaHid)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const size_t number = ++requests_;
        if (!difference_.empty()) return {};
        if (number > recording_.exchanges.size()) {
            difference_ = "request " + std::to_string(number) + " (" + shown(packet, viaHid) + ") was not recorded: " +
                          file_ + " holds " + std::to_string(recording_.exchanges.size()) + " requests";
            return {std::nullopt, 0, true};
        }
        const RecordedExchange &recorded = recording_.exchanges[number - 1];
        if (packet != recorded.request || viaHid != recorded.viaHid) {
            difference_ = "request " + std::to_string(number) + " differs from " + file_ + ":" +
                          std::to_string(recorded.line) + ": got " + shown(packet, viaHid) + ", recorded " +
                          shown(recorded.request, recorded.viaHid);
            return {std::nullopt, 0, true};
        }
        return {recorded.reply, recorded.delayMs, recorded.unplug};
    }

    // Empty when the command made exactly the recorded requests.
    std::string verdict()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!difference_.empty() || requests_ >= recording_.exchanges.size()) return difference_;
        const RecordedExchange &missing = recording_.exchanges[requests_];
        return "request " + std::to_string(requests_ + 1) + " (" + shown(missing.request, missing.viaHid) + ", " + file_ +
               ":" + std::to_string(missing.line) + ") was never made: the command stopped after " +
               std::to_string(requests_) + " requests";
    }

private:
    static std::string shown(const std::vector<uint8_t> &packet, bool viaHid)
    {
        return (viaHid ? "hid " : "bulk ") + ksim::hexPacket(packet, viaHid);
    }

    std::mutex mutex_;
    Recording recording_;
    std::string file_;
    size_t requests_ = 0;
    std::string difference_;
};

}  // namespace

int replay(const std::string &file, const std::vector<std::string> &command)
{
    Recording recording;
    std::string error;
    if (!readRecording(file, recording, error)) {
        std::fprintf(stderr, "korvex-sim: --replay %s\n", error.c_str());
        return kUsageError;
    }
    const ksim::UsbIdentity identity = recording.identity;
    auto probe = std::make_shared<ReplayedProbe>(std::move(recording), file);
    int code = 0;
    {
        ksim::Testbed bench;
        bench.addDevice(identity, [probe](const std::vector<uint8_t> &packet, bool viaHid) { return probe->answer(packet, viaHid); });
        code = runChild(command, ksim::preloadEnvironment(bench.rootDir()));
    }
    const std::string difference = probe->verdict();
    if (difference.empty()) return code;
    std::fprintf(stderr, "korvex-sim: replay: %s (the command itself exited with %d)\n", difference.c_str(), code);
    return kUsageError;
}

}  // namespace ksim_tool
