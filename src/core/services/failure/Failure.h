#pragma once

#include <exception>
#include <stdexcept>

#include "services/failure/Cause.h"

namespace sedilo {

// The exception the core throws for a failure the user must be told about.
// what() is the technical summary (for logs and the detailed text); the
// user reads ChineseCause(cause()).
class Failure : public std::runtime_error {
public:
    explicit Failure(Cause cause);

    const Cause& cause() const { return m_cause; }

private:
    Cause m_cause;
};

// The cause behind any exception: a Failure's own, bad_alloc as out of
// memory, anything else Unknown with what() as its detail.
Cause CauseOf(const std::exception& failure);
Cause CauseOf(std::exception_ptr failure);

// The technical line of a cause: its subject and detail, in English.
std::string TechnicalSummary(const Cause& cause);

} // namespace sedilo
