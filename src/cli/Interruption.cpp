#include "Interruption.h"

#include <csignal>

#include "services/failure/Failure.h"

namespace sedilo::cli {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// A signal handler can only reach a flag of static storage.
volatile std::sig_atomic_t g_signal = 0;

struct sigaction g_previous[sizeof kSignals / sizeof kSignals[0]];

extern "C" void noteSignal(int signal)
{
    g_signal = signal;
}

} // namespace

InterruptionGuard::InterruptionGuard()
{
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &g_previous[i]);
}

InterruptionGuard::~InterruptionGuard()
{
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
}

void InterruptionGuard::endIfInterrupted()
{
    const int signal = g_signal;
    if (signal == 0)
        return;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

int interruptingSignal()
{
    return g_signal;
}

void stopIfInterrupted()
{
    if (const int signal = g_signal; signal != 0)
        throw Failure({.kind = CauseKind::Interrupted, .detail = "stopped by signal " + std::to_string(signal)});
}

} // namespace sedilo::cli
