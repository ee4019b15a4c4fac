// Runs a program as a child process and captures what it writes, byte for byte.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace korvex_test {

struct ProcessResult {
    std::string out;      // everything written to standard output
    std::string err;      // everything written to standard error
    int exitCode = -1;    // exit status, or 128 + signal number when killed
    bool timedOut = false;
};

struct ProcessOptions {
    std::map<std::string, std::string> env;  // added to (or replacing in) the inherited environment
    std::vector<std::string> unsetEnv;       // removed from the inherited environment
    std::string workDir;                     // empty: the current directory
    int timeoutMs = 60000;                   // the child is killed after this
    bool stderrIsTerminal = false;           // standard error is a pseudo-terminal (still captured)
    std::string interruptWhenOutContains;    // SIGINT to the child once standard output holds this
};

// argv[0] is the program path; it is not searched in PATH.
ProcessResult runProcess(const std::vector<std::string> &argv, const ProcessOptions &options = {});

// Path of a program built by this project (in the build's bin directory).
std::string builtProgram(const std::string &name);

}  // namespace korvex_test
