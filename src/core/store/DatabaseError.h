#pragma once

#include <string>

#include "services/failure/Failure.h"

namespace sedilo::store {

// A database failure. The cause names the database file; what() is the
// technical summary.
class DatabaseError : public Failure {
public:
    explicit DatabaseError(Cause cause) : Failure(std::move(cause)) {}
    DatabaseError(const std::string& file, const std::string& detail,
                  CauseKind kind = CauseKind::DatabaseUnusable)
        : Failure({.kind = kind, .file = file, .detail = detail})
    {
    }

    const std::string& detail() const { return cause().detail; }
};

} // namespace sedilo::store
