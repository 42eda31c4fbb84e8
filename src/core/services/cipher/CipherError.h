#pragma once

#include <string>

#include "services/failure/Failure.h"

namespace sedilo::cipher {

// A misuse of the cipher class, raised as an error number with a description.
// It reaches the user only behind the operation that used the cipher, so its
// cause is the description as technical detail.
class CipherError : public Failure {
public:
    CipherError(int number, const std::string& description)
        : Failure({.kind = CauseKind::Unknown, .detail = description}), m_number(number)
    {
    }
    int number() const { return m_number; }
    const std::string& description() const { return cause().detail; }

private:
    int m_number;
};

// The error numbers the class raises.
inline constexpr int kCipherMisuse = 1;
inline constexpr int kSubscriptOutOfRange = 9;

} // namespace sedilo::cipher
