#include "services/workbook/StoredSheetPackage.h"

#include <cstdint>
#include <zlib.h>

namespace sedilo::workbook {

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kDirectoryRecordSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kDirectoryRecordSize = 46;
constexpr std::size_t kEndSize = 22;
constexpr std::uint16_t kDataDescriptorFlag = 1 << 3;

std::uint32_t read32(std::string_view bytes, std::size_t at)
{
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
    };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

std::uint16_t read16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at])
                                      | static_cast<unsigned char>(bytes[at + 1]) << 8);
}

void write32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

// Where the data of the entry with `record` and local `header` starts, when
// that entry is `sample` stored before `directory`.
std::optional<std::size_t> storedSampleAt(std::string_view bytes, std::size_t record, std::size_t header,
                                          std::size_t directory, std::string_view sample)
{
    if (header + kLocalHeaderSize > directory || read32(bytes, header) != kLocalHeaderSignature
        || read16(bytes, header + 8) != 0 || read32(bytes, header + 18) != sample.size()
        || read32(bytes, record + 20) != sample.size())
        return std::nullopt;
    const std::size_t data = header + kLocalHeaderSize + read16(bytes, header + 26) + read16(bytes, header + 28);
    if (data + sample.size() > directory || bytes.substr(data, sample.size()) != sample)
        return std::nullopt;
    return data;
}

} // namespace

std::optional<StoredSheetPackage> StoredSheetPackage::learn(
    const std::function<std::string(const std::string& sheet)>& package, const std::string& sample)
{
    auto layout = takeApart(package(sample), sample);
    const std::string longer = sample + ' ';
    if (!layout || layout->assemble(longer) != package(longer))
        return std::nullopt;
    return layout;
}

std::optional<StoredSheetPackage> StoredSheetPackage::takeApart(const std::string& package, const std::string& sample)
{
    const std::string_view bytes(package);
    // No comment follows the end record of a package libzip writes here.
    if (bytes.size() < kEndSize || read32(bytes, bytes.size() - kEndSize) != kEndSignature)
        return std::nullopt;
    const std::size_t end = bytes.size() - kEndSize;
    const std::size_t entries = read16(bytes, end + 10);
    const std::size_t directory = read32(bytes, end + 16);
    if (read16(bytes, end + 20) != 0 || read32(bytes, end + 12) != end - directory || directory > end)
        return std::nullopt;

    StoredSheetPackage layout;
    std::optional<std::size_t> sheetHeader;
    std::vector<std::pair<std::size_t, std::size_t>> localOffsets; // (field in the directory, offset)
    std::size_t record = directory;
    for (std::size_t entry = 0; entry < entries; ++entry) {
        if (record + kDirectoryRecordSize > end || read32(bytes, record) != kDirectoryRecordSignature)
            return std::nullopt;
        const std::size_t recordSize = kDirectoryRecordSize + read16(bytes, record + 28) + read16(bytes, record + 30)
                                       + read16(bytes, record + 32);
        const std::size_t header = read32(bytes, record + 42);
        localOffsets.emplace_back(record + 42 - directory, header);
        if (const auto data = storedSampleAt(bytes, record, header, directory, sample)) {
            if (sheetHeader || (read16(bytes, header + 6) & kDataDescriptorFlag))
                return std::nullopt;
            sheetHeader = header;
            layout.m_sheetRecord = record - directory;
            layout.m_localHeader = package.substr(header, *data - header);
            layout.m_before = package.substr(0, header);
            layout.m_after = package.substr(*data + sample.size(), directory - *data - sample.size());
        }
        record += recordSize;
    }
    if (!sheetHeader || record != end)
        return std::nullopt;
    for (const auto& [field, offset] : localOffsets)
        if (offset > *sheetHeader)
            layout.m_shiftedOffsets.push_back(field);
    layout.m_directory = package.substr(directory, end - directory);
    layout.m_end = package.substr(end);
    layout.m_sampleSize = sample.size();
    return layout;
}

std::string StoredSheetPackage::assemble(std::string_view sheet) const
{
    const auto size = static_cast<std::uint32_t>(sheet.size());
    const std::uint32_t shift = size - static_cast<std::uint32_t>(m_sampleSize); // modulo 2^32, as the fields are
    const auto checksum =
        static_cast<std::uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(sheet.data()), sheet.size()));
    std::string package;
    package.reserve(m_before.size() + m_localHeader.size() + sheet.size() + m_after.size() + m_directory.size()
                    + m_end.size());
    package += m_before;
    const std::size_t header = package.size();
    package += m_localHeader;
    write32(package, header + 14, checksum);
    write32(package, header + 18, size);
    write32(package, header + 22, size);
    package += sheet;
    package += m_after;
    const std::size_t directory = package.size();
    package += m_directory;
    write32(package, directory + m_sheetRecord + 16, checksum);
    write32(package, directory + m_sheetRecord + 20, size);
    write32(package, directory + m_sheetRecord + 24, size);
    for (const std::size_t field : m_shiftedOffsets)
        write32(package, directory + field, read32(package, directory + field) + shift);
    const std::size_t end = package.size();
    package += m_end;
    write32(package, end + 16, read32(package, end + 16) + shift);
    return package;
}

} // namespace sedilo::workbook
