#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace sedilo::workbook::xls {

// Little-endian fields of BIFF records and compound files. Callers check the
// bounds before reading.
inline std::uint16_t readU16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

inline std::uint32_t readU32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8)
        | (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

inline double readDouble(const char* p)
{
    std::uint64_t bits = readU32(p) | (static_cast<std::uint64_t>(readU32(p + 4)) << 32);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void writeU16(char* p, std::uint16_t value)
{
    p[0] = static_cast<char>(value & 0xFF);
    p[1] = static_cast<char>(value >> 8);
}

inline void writeU32(char* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void appendU16(std::string& out, std::uint16_t value)
{
    char bytes[2];
    writeU16(bytes, value);
    out.append(bytes, 2);
}

inline void appendU32(std::string& out, std::uint32_t value)
{
    char bytes[4];
    writeU32(bytes, value);
    out.append(bytes, 4);
}

} // namespace sedilo::workbook::xls
