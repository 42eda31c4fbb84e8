#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "services/failure/Cause.h"

namespace sedilo::workbook::xls {

// Record types of the BIFF8 workbook stream that the reader and patcher use.
namespace record {
inline constexpr std::uint16_t Formula = 0x0006;
inline constexpr std::uint16_t Eof = 0x000A;
inline constexpr std::uint16_t DateMode = 0x0022;
inline constexpr std::uint16_t FilePass = 0x002F;
inline constexpr std::uint16_t Continue = 0x003C;
inline constexpr std::uint16_t BoundSheet = 0x0085;
inline constexpr std::uint16_t MulRk = 0x00BD;
inline constexpr std::uint16_t MulBlank = 0x00BE;
inline constexpr std::uint16_t RString = 0x00D6;
inline constexpr std::uint16_t DbCell = 0x00D7;
inline constexpr std::uint16_t Xf = 0x00E0;
inline constexpr std::uint16_t Sst = 0x00FC;
inline constexpr std::uint16_t LabelSst = 0x00FD;
inline constexpr std::uint16_t ExtSst = 0x00FF;
inline constexpr std::uint16_t Blank = 0x0201;
inline constexpr std::uint16_t Number = 0x0203;
inline constexpr std::uint16_t Label = 0x0204;
inline constexpr std::uint16_t BoolErr = 0x0205;
inline constexpr std::uint16_t String = 0x0207;
inline constexpr std::uint16_t Index = 0x020B;
inline constexpr std::uint16_t Array = 0x0221;
inline constexpr std::uint16_t Table = 0x0236;
inline constexpr std::uint16_t ShrFmla = 0x04BC;
inline constexpr std::uint16_t Rk = 0x027E;
inline constexpr std::uint16_t Format = 0x041E;
inline constexpr std::uint16_t Bof = 0x0809;
} // namespace record

// A BIFF8 record body holds at most this many bytes; longer data goes on in
// CONTINUE records.
inline constexpr std::size_t MaxRecordData = 8224;

// A workbook stream that breaks the BIFF8 rules; the opener adds the file name.
class BiffError : public std::runtime_error {
public:
    // The user reads the catalogue's sentence for `kind`; `detail` is the
    // technical detail beside it.
    BiffError(CauseKind kind, const std::string& detail) : std::runtime_error(detail), m_kind(kind) {}
    CauseKind kind() const { return m_kind; }

private:
    CauseKind m_kind;
};

// One record of a stream: its type and where its body lies.
struct BiffRecord {
    std::uint16_t type = 0;
    std::size_t offset = 0; // stream position of the 4-byte header
    std::size_t size = 0;   // body length

    std::size_t bodyOffset() const { return offset + 4; }
    std::size_t end() const { return offset + 4 + size; }
    std::string_view body(std::string_view stream) const { return stream.substr(bodyOffset(), size); }
};

// Splits a stream into its records. Trailing bytes too short for a record,
// or a record running past the end, end the list (sector padding is common).
std::vector<BiffRecord> splitRecords(std::string_view stream);

void appendRecord(std::string& out, std::uint16_t type, std::string_view body);

} // namespace sedilo::workbook::xls
