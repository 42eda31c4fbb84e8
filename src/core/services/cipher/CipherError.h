#pragma once

#include <stdexcept>
#include <string>

namespace sedilo::cipher {

// A misuse of the cipher class, raised as an error number with a description.
class CipherError : public std::runtime_error {
public:
    CipherError(int number, const std::string& description)
        : std::runtime_error(description), m_number(number), m_description(description) {}
    int number() const { return m_number; }
    const std::string& description() const { return m_description; }

private:
    int m_number;
    std::string m_description;
};

// The error numbers the class raises.
inline constexpr int kCipherMisuse = 1;
inline constexpr int kSubscriptOutOfRange = 9;

} // namespace sedilo::cipher
