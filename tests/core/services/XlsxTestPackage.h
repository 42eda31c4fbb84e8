#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sedilo::test {

// Zip files as the .xlsx tests take them apart and put them together.

using ZipEntries = std::vector<std::pair<std::string, std::string>>; // name, content

ZipEntries readZipEntries(const std::string& path);
void writeZip(const std::string& path, const ZipEntries& entries);
std::string& entryContent(ZipEntries& entries, const std::string& name);

// An entry as stored: its packed bytes, CRC and method.
struct RawZipEntry {
    std::string name;
    std::string packed;
    std::uint32_t crc = 0;
    std::uint16_t method = 0;
    std::uint64_t size = 0;
};
std::vector<RawZipEntry> readRawZipEntries(const std::string& path);

// Rewrites the unpacked size an entry declares, in its local and central headers.
void setDeclaredSize(const std::string& path, const std::string& entryName, std::uint32_t size);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

} // namespace sedilo::test
