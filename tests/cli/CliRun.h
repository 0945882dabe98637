#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kavo::test {

struct TCliRun {
    int Status = -1;
    std::string Output;
};

// Runs the built kavo-cli with the arguments, each quoted for the shell. The output is standard
// output, followed by standard error when asked. A first argument "--unset-runtime" runs it
// without XDG_RUNTIME_DIR.
inline TCliRun RunCli(std::vector<std::string> arguments, bool withErrors = false) {
    std::string command;
    if (!arguments.empty() && arguments.front() == "--unset-runtime") {
        command = "env -u XDG_RUNTIME_DIR ";
        arguments.erase(arguments.begin());
    }
    command += std::string("'") + KAVO_CLI_PATH + "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    command += withErrors ? " 2>&1" : " 2>/dev/null";
    TCliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.Output.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace kavo::test
