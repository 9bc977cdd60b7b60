// A program run as its own process by a test: started with a changed environment, its output
// kept in a file, and never left behind, whichever way the test ends.
#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
    // env: variables to set (value) or to remove (std::nullopt) on top of this process's own.
    using Environment = std::map<std::string, std::optional<std::string>>;

    // input: a descriptor to read standard input from, else /dev/null.
    ChildProcess(std::vector<std::string> argv, const Environment& env,
                 const std::string& outputFile, int input = -1);
    ~ChildProcess(); // kills and reaps a process still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }
    bool Running();
    // The exit status, or 128 + signal for a killed process; nothing if still running at the end.
    std::optional<int> WaitExit(std::chrono::milliseconds timeout);
    // Blocks until the process ends, for timing it to the moment it does.
    int Wait();
    void Kill(int signal);
    // What the process wrote to stdout and stderr so far.
    std::string Output() const;

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
    std::string m_outputFile;
};

// Polls until done() holds or the time is up; true if it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step = std::chrono::milliseconds(20));

// WaitUntil for a step of a test: when the time is up, the failure says which step it was and
// how long it waited.
testing::AssertionResult WaitFor(const std::string& step, const std::function<bool()>& done,
                                 std::chrono::milliseconds timeout);

// The full path of a program on PATH, or empty.
std::string FindProgram(const std::string& name);
