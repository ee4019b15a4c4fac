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

class Pipe {
public:
    Pipe() { if (pipe2(fds_, O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1; }
    ~Pipe() { closeRead(); closeWrite(); }
    Pipe(const Pipe &) = delete;
    Pipe &operator=(const Pipe &) = delete;
    int readEnd() const { return fds_[0]; }
    int writeEnd() const { return fds_[1]; }
    void closeRead() { if (fds_[0] >= 0) ::close(fds_[0]); fds_[0] = -1; }
    void closeWrite() { if (fds_[1] >= 0) ::close(fds_[1]); fds_[1] = -1; }
    bool ok() const { return fds_[0] >= 0; }

private:
    int fds_[2];
};

std::vector<std::string> buildEnvironment(const ProcessOptions &options)
{
    std::map<std::string, std::string> env;
    for (char **e = environ; *e; ++e) {
        const char *eq = std::strchr(*e, '=');
        if (eq) env[std::string(*e, static_cast<size_t>(eq - *e))] = eq + 1;
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
    const int timeoutMs = options.timeoutMs;
    bool interrupted = options.interruptWhenOutContains.empty();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool outOpen = true, errOpen = true;
    char buffer[65536];
    while (outOpen || errOpen) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return false;
        pollfd fds[2] = {{outOpen ? outFd : -1, POLLIN, 0}, {errOpen ? errFd : -1, POLLIN, 0}};
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
                (i == 0 ? outOpen : errOpen) = false;
            }
        }
    }
    return true;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string> &argv, const ProcessOptions &options)
{
    ProcessResult result;
    Pipe out, err;
    if (!out.ok() || !err.ok() || argv.empty()) return result;
    int terminal = -1, terminalChild = -1;
    if (options.stderrIsTerminal && openpty(&terminal, &terminalChild, nullptr, nullptr, nullptr) != 0)
        return result;

    std::vector<std::string> args = argv;
    std::vector<std::string> env = buildEnvironment(options);
    std::vector<char *> argp = pointers(args);
    std::vector<char *> envp = pointers(env);

    const pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) {
        int devnull = open("/dev/null", O_RDONLY);
        dup2(devnull, STDIN_FILENO);
        dup2(out.writeEnd(), STDOUT_FILENO);
        dup2(terminalChild >= 0 ? terminalChild : err.writeEnd(), STDERR_FILENO);
        if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) _exit(126);
        execve(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    out.closeWrite();
    err.closeWrite();
    if (terminalChild >= 0) close(terminalChild);
    const bool drained = drain(out.readEnd(), terminal >= 0 ? terminal : err.readEnd(), result, options, pid);
    if (terminal >= 0) close(terminal);
    if (!drained) {
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
