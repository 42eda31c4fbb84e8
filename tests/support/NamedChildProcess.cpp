#include "support/NamedChildProcess.h"

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sedilo::test {

NamedChildProcess::NamedChildProcess(const std::string& name)
{
    // The close-on-exec pipe reaches end of file once the child has exec'd, so
    // the name is in its command line before the constructor returns.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2 failed");
    m_pid = fork();
    if (m_pid < 0) {
        close(fds[0]);
        close(fds[1]);
        throw std::runtime_error("fork failed");
    }
    if (m_pid == 0) {
        close(fds[0]);
        char* const argv[] = {const_cast<char*>(name.c_str()), const_cast<char*>("60"), nullptr};
        execv("/bin/sleep", argv);
        const char failed = 1;
        [[maybe_unused]] auto ignored = write(fds[1], &failed, 1);
        _exit(127);
    }
    close(fds[1]);
    char byte = 0;
    const auto got = read(fds[0], &byte, 1);
    close(fds[0]);
    if (got > 0) {
        waitForExit(1000);
        throw std::runtime_error("cannot start /bin/sleep");
    }
}

NamedChildProcess::~NamedChildProcess()
{
    if (m_pid > 0 && !m_reaped) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

bool NamedChildProcess::waitForExit(int milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!m_reaped) {
        int status = 0;
        const pid_t done = waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_reaped = true;
            m_signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return m_reaped;
}

} // namespace sedilo::test
