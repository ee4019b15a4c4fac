#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace ksim_tool {
namespace {

volatile sig_atomic_t g_child = 0;
constexpr int kForwardedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void forwardSignal(int signal)
{
    if (g_child > 0) kill(static_cast<pid_t>(g_child), signal);
}

// Installs the forwarding for the child's lifetime and restores the old handlers afterwards.
class SignalForwarding {
public:
    SignalForwarding()
    {
        struct sigaction action {};
        action.sa_handler = forwardSignal;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(kForwardedSignals); ++i) sigaction(kForwardedSignals[i], &action, &old_[i]);
    }
    ~SignalForwarding()
    {
        g_child = 0;
        for (size_t i = 0; i < std::size(kForwardedSignals); ++i) sigaction(kForwardedSignals[i], &old_[i], nullptr);
    }
    SignalForwarding(const SignalForwarding &) = delete;
    SignalForwarding &operator=(const SignalForwarding &) = delete;

private:
    struct sigaction old_[std::size(kForwardedSignals)] {};
};

std::vector<std::string> environmentWith(const std::map<std::string, std::string> &extra)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const char *eq = std::strchr(*e, '=');
        const std::string name = eq ? std::string(*e, static_cast<size_t>(eq - *e)) : std::string(*e);
        if (!extra.count(name)) env.emplace_back(*e);
    }
    for (const auto &entry : extra) env.push_back(entry.first + "=" + entry.second);
    return env;
}

std::vector<char *> pointersTo(std::vector<std::string> &strings)
{
    std::vector<char *> pointers;
    for (std::string &s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

int exitCodeOf(int status)
{
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return kCannotRun;
}

}  // namespace

int runChild(const std::vector<std::string> &command, const std::map<std::string, std::string> &extra)
{
    std::vector<std::string> arguments = command;
    std::vector<std::string> env = environmentWith(extra);
    std::vector<char *> argv = pointersTo(arguments);
    std::vector<char *> envp = pointersTo(env);

    SignalForwarding forwarding;
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data());
    if (error != 0) {
        std::fprintf(stderr, "korvex-sim: cannot run %s: %s\n", argv[0], std::strerror(error));
        return kCannotRun;
    }
    g_child = pid;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            std::fprintf(stderr, "korvex-sim: lost the command: %s\n", std::strerror(errno));
            return kCannotRun;
        }
    }
    return exitCodeOf(status);
}

}  // namespace ksim_tool
