#include "job_progress.h"

#include <csignal>

namespace {
ProgressDisplay* g_display = nullptr;
const char* g_step = "";
// Steps nest (a verify reads memory in chunks): the outermost one names the step and counts.
int g_depth = 0;
uint64_t g_done = 0;
volatile std::sig_atomic_t g_stopRequested = 0;
} // namespace

void SetProgressDisplay(ProgressDisplay* display) { g_display = display; }

ProgressStep::ProgressStep(const char* step, uint64_t total, const char* unit)
{
    if (g_depth++ > 0)
        return;
    g_step = step;
    g_done = 0;
    if (g_display != nullptr)
        g_display->Begin(step, total, unit);
}

ProgressStep::~ProgressStep()
{
    if (--g_depth == 0 && g_display != nullptr)
        g_display->End();
}

void ProgressStep::Advance(uint64_t amount)
{
    g_done += amount;
    if (g_display != nullptr)
        g_display->Show(g_done);
}

const char* CurrentStep() { return g_step; }

void RequestStop() { g_stopRequested = 1; }

bool StopRequested() { return g_stopRequested != 0; }
