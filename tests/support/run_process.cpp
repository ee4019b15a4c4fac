#include "run_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace korvex_test {
namespace {

// The read and write ends of standard output and error, closed when they go out of scope.
struct ChildStreams {
    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
    ~ChildStreams() { for (int *fd : {&out[0], &out[1], &err[0], &err[1]}) close(*fd); }
    static void close(int &fd) { if (fd >= 0) ::close(fd); fd = -1; }
};

// The inherited environment with the options' changes, as NAME=value strings.
std::vector<std::string> buildEnvironment(const ProcessOptions &options)
{
    std::map<std::string, std::string> env;
    for (char **e = environ; *e; ++e) {
        if (const char *eq = std::strchr(*e, '=')) env[std::string(*e, static_cast<size_t>(eq - *e))] = eq + 1;
    }
    for (const auto &name : options.unsetEnv) env.erase(name);
    for (const auto &kv : options.env) env[kv.first] = kv.second;
    std::vector<std::string> flat;
    for (const auto &kv : env) flat.push_back(kv.first + "=" + kv.second);
    return flat;
}

std::vector<char *> pointers(std::vector<std::string> &strings)
{
    std::vector<char *> result;
    for (auto &s : strings) result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// Reads standard output and error until both close or the deadline passes; sends SIGINT to pid
// once standard output holds the text asked for.
bool drain(int outFd, int errFd, ProcessResult &result, const ProcessOptions &options, pid_t pid)
{
    bool interrupted = options.interruptWhenOutContains.empty();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.timeoutMs);
    bool open[2] = {true, true};
    char buffer[65536];
    while (open[0] || open[1]) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return false;
        pollfd fds[2] = {{open[0] ? outFd : -1, POLLIN, 0}, {open[1] ? errFd : -1, POLLIN, 0}};
        if (poll(fds, 2, static_cast<int>(left)) < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
                if (!interrupted && result.out.find(options.interruptWhenOutContains) != std::string::npos)
                    interrupted = kill(pid, SIGINT) == 0;
            } else if (n == 0 || errno != EINTR) {  // a terminal reports its closed end as EIO
                open[i] = false;
            }
        }
    }
    return true;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string> &argv, const ProcessOptions &options)
{
    ProcessResult result;
    ChildStreams streams;
    if (argv.empty() || pipe2(streams.out, O_CLOEXEC) != 0) return result;
    // A terminal, when asked for, takes the place of the error pipe.
    if (options.stderrIsTerminal ? openpty(&streams.err[0], &streams.err[1], nullptr, nullptr, nullptr) != 0
                                 : pipe2(streams.err, O_CLOEXEC) != 0)
        return result;
    std::vector<std::string> args = argv, env = buildEnvironment(options);
    std::vector<char *> argp = pointers(args), envp = pointers(env);

    const pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) {
        dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
        dup2(streams.out[1], STDOUT_FILENO);
        dup2(streams.err[1], STDERR_FILENO);
        if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) _exit(126);
        execve(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    ChildStreams::close(streams.out[1]);
    ChildStreams::close(streams.err[1]);
    if (!drain(streams.out[0], streams.err[0], result, options, pid)) {
        result.timedOut = true;
        kill(pid, SIGKILL);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status)) result.exitCode = 128 + WTERMSIG(status);
    return result;
}

std::string builtProgram(const std::string &name)
{
    return std::string(KORVEX_BIN_DIR) + "/" + name;
}

}  // namespace korvex_test
