#pragma once

#include <QJsonArray>

#include <string>
#include <vector>

// The production log: with KORVEX_LOG=<file>, one JSON object per run is appended to the file
// (one line), so that a production line can trace every board. Fields: time (UTC, ISO 8601),
// duration_ms, exit_code, probe_serial, target_part, target_uid (hex, or null when it could not
// be read), options (each option with its arguments and exit code, in order), image (name,
// size, checksum of the last -d, or null), serial_number (the last one -wsn wrote, or null).
class RunLog {
public:
    RunLog();
    bool Enabled() const { return !path_.empty(); }
    void OptionDone(const std::string& option, const std::vector<std::string>& arguments, int exitCode);
    // Call while the probe is still open: the target's unique ID is read then.
    void Finish(int exitCode);

private:
    std::string path_;
    long long startMs_ = 0;
    std::string startTime_;
    QJsonArray options_;
};
