#pragma once

namespace sedilo::cli {

// Ctrl-C, SIGTERM and SIGHUP during a run only set a flag. The run stops at its
// next step by unwinding, so that its temporary database, its hidden staging
// files and its open transaction go with it; then the program ends by the
// signal it got, as its caller expects.
class InterruptionGuard {
public:
    InterruptionGuard();  // installs the handlers
    ~InterruptionGuard(); // restores the earlier ones
    InterruptionGuard(const InterruptionGuard&) = delete;
    InterruptionGuard& operator=(const InterruptionGuard&) = delete;

    // Ends the program by the signal that interrupted the run, if one did.
    static void endIfInterrupted();
};

// The signal received since the guard was installed, 0 when none.
int interruptingSignal();

// Throws a Failure of kind Interrupted once a signal arrived.
void stopIfInterrupted();

} // namespace sedilo::cli
