#pragma once

#include <string>

#include <sys/types.h>

namespace sedilo::test {

// A child process (a long `sleep`) started under a chosen argv[0], so that it
// shows in the process list under that name. Killed and reaped when destroyed.
class NamedChildProcess {
public:
    explicit NamedChildProcess(const std::string& name);
    ~NamedChildProcess();
    NamedChildProcess(const NamedChildProcess&) = delete;
    NamedChildProcess& operator=(const NamedChildProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // Waits up to `milliseconds` for the child to end; true when it has ended.
    bool waitForExit(int milliseconds);
    // The signal that ended the child, 0 while it runs or when it exited normally.
    int terminatingSignal() const { return m_signal; }

private:
    pid_t m_pid = -1;
    bool m_reaped = false;
    int m_signal = 0;
};

} // namespace sedilo::test
