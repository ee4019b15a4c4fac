#include "terminal_progress.h"

#include "job_progress.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

class TerminalProgress : public ProgressDisplay {
public:
    void Begin(const char* step, uint64_t total, const char* unit) override
    {
        step_ = step;
        unit_ = unit;
        total_ = total;
        start_ = Clock::now();
        lastDrawn_ = Clock::time_point{};
        Draw(0, true);
    }

    void Show(uint64_t done) override { Draw(done, done >= total_); }

    void End() override { std::fputc('\n', stderr); }

private:
    static constexpr int kWidth = 30;

    void Draw(uint64_t done, bool always)
    {
        const Clock::time_point now = Clock::now();
        // A redraw per exchange would cost more than the exchange on a slow terminal.
        if (!always && now - lastDrawn_ < std::chrono::milliseconds(100))
            return;
        lastDrawn_ = now;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        const int percent = total_ == 0 ? 100 : static_cast<int>(done * 100 / total_);
        const int filled = percent * kWidth / 100;
        const std::string bar = std::string(static_cast<size_t>(filled), '#') + std::string(kWidth - filled, '.');
        char rate[32] = "";
        if (seconds > 0.05 && std::strcmp(unit_, "bytes") == 0)
            std::snprintf(rate, sizeof rate, "  %.1f KiB/s", done / 1024.0 / seconds);
        std::fprintf(stderr, "\r%-8s [%s] %3d%%  %llu/%llu %s%s\x1b[K", step_, bar.c_str(), percent,
                     static_cast<unsigned long long>(done), static_cast<unsigned long long>(total_), unit_, rate);
        std::fflush(stderr);
    }

    const char* step_ = "";
    const char* unit_ = "";
    uint64_t total_ = 0;
    Clock::time_point start_;
    Clock::time_point lastDrawn_;
};

} // namespace

void InstallTerminalProgress()
{
    static TerminalProgress display;
    const char* setting = std::getenv("KORVEX_PROGRESS");
    if (isatty(STDERR_FILENO) && !(setting != nullptr && std::strcmp(setting, "0") == 0))
        SetProgressDisplay(&display);
}
