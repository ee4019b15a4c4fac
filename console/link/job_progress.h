#pragma once

#include <cstdint>

// How far a long step (erase, download, verify, upload) has come, for a display that the
// program may install, and the request to stop at the next exchange (Ctrl-C).
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void Begin(const char* step, uint64_t total, const char* unit) = 0;
    virtual void Show(uint64_t done) = 0;
    virtual void End() = 0;
};

// The display that steps report to; nullptr (the default) shows nothing.
void SetProgressDisplay(ProgressDisplay* display);

// One step for the length of a scope: Advance after each exchange. A step begun inside another
// (the chunked read of a verify) counts towards the outer one, which keeps its name and total.
class ProgressStep {
public:
    ProgressStep(const char* step, uint64_t total, const char* unit = "bytes");
    ~ProgressStep();
    ProgressStep(const ProgressStep&) = delete;
    ProgressStep& operator=(const ProgressStep&) = delete;
    void Advance(uint64_t amount);
};

// The step under way, or the last one begun ("" before any): what a stop cut short.
const char* CurrentStep();

// Safe to call from a signal handler.
void RequestStop();
bool StopRequested();
