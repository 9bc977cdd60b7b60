#include "tests/e2e/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

ChildProcess::ChildProcess(std::vector<std::string> argv, const Environment& env,
                           const std::string& outputFile, int input)
    : m_outputFile(outputFile) {
    std::vector<std::string> envText;
    for (char** p = environ; *p; ++p) {
        const std::string entry(*p);
        if (!env.contains(entry.substr(0, entry.find('='))))
            envText.push_back(entry);
    }
    for (const auto& [name, value] : env) {
        if (value)
            envText.push_back(name + "=" + *value);
    }
    std::vector<char*> envp;
    for (std::string& s : envText)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<char*> args;
    for (std::string& s : argv)
        args.push_back(s.data());
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0)
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        Kill(SIGKILL);
        WaitExit(std::chrono::seconds(10));
    }
}

bool ChildProcess::Running() {
    if (m_pid <= 0 || m_status)
        return false;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

std::optional<int> ChildProcess::WaitExit(std::chrono::milliseconds timeout) {
    WaitUntil([this] { return !Running(); }, timeout, std::chrono::milliseconds(5));
    return m_status;
}

int ChildProcess::Wait() {
    int status = 0;
    if (!m_status && m_pid > 0 && waitpid(m_pid, &status, 0) == m_pid)
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return m_status.value_or(-1);
}

void ChildProcess::Kill(int signal) {
    if (Running())
        ::kill(m_pid, signal);
}

std::string ChildProcess::Output() const {
    std::ifstream in(m_outputFile);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
}

testing::AssertionResult WaitFor(const std::string& step, const std::function<bool()>& done,
                                 std::chrono::milliseconds timeout) {
    if (WaitUntil(done, timeout))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "timed out after " << std::chrono::duration<double>(timeout).count()
           << " s waiting for " << step;
}

std::string FindProgram(const std::string& name) {
    const char* pszPath = std::getenv("PATH");
    std::stringstream dirs(pszPath ? pszPath : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::string();
}
