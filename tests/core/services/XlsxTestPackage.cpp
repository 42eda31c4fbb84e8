#include "XlsxTestPackage.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <zip.h>

namespace sedilo::test {

namespace {

zip_t* openZip(const std::string& path, int flags)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), flags, &error);
    if (!archive)
        throw std::runtime_error("cannot open the zip " + path);
    return archive;
}

std::string readOpened(zip_file_t* file, std::uint64_t size)
{
    std::string content(size, '\0');
    const zip_int64_t got = zip_fread(file, content.data(), size);
    zip_fclose(file);
    if (got != static_cast<zip_int64_t>(size))
        throw std::runtime_error("short read from a zip entry");
    return content;
}

void putLittleEndian32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint16_t littleEndian16(const std::string& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

} // namespace

ZipEntries readZipEntries(const std::string& path)
{
    zip_t* archive = openZip(path, ZIP_RDONLY);
    ZipEntries entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, i, 0, &stat);
        entries.emplace_back(stat.name, readOpened(zip_fopen_index(archive, i, 0), stat.size));
    }
    zip_discard(archive);
    return entries;
}

void writeZip(const std::string& path, const ZipEntries& entries)
{
    zip_t* archive = openZip(path, ZIP_CREATE | ZIP_TRUNCATE);
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        if (zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0)
            throw std::runtime_error("cannot add " + name);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("cannot write the zip " + path);
}

std::string& entryContent(ZipEntries& entries, const std::string& name)
{
    for (auto& [entryName, content] : entries)
        if (entryName == name)
            return content;
    throw std::runtime_error("no entry " + name);
}

std::vector<RawZipEntry> readRawZipEntries(const std::string& path)
{
    zip_t* archive = openZip(path, ZIP_RDONLY);
    std::vector<RawZipEntry> entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, i, 0, &stat);
        RawZipEntry entry;
        entry.name = stat.name;
        entry.crc = stat.crc;
        entry.method = stat.comp_method;
        entry.size = stat.size;
        entry.packed = readOpened(zip_fopen_index(archive, i, ZIP_FL_COMPRESSED), stat.comp_size);
        entries.push_back(std::move(entry));
    }
    zip_discard(archive);
    return entries;
}

void setDeclaredSize(const std::string& path, const std::string& entryName, std::uint32_t size)
{
    std::string bytes = readFile(path);
    int patched = 0;
    for (std::size_t at = 0; at + 46 < bytes.size(); ++at) {
        if (bytes.compare(at, 4, "PK\x03\x04") == 0 && bytes.compare(at + 30, entryName.size(), entryName) == 0 &&
            littleEndian16(bytes, at + 26) == entryName.size()) {
            putLittleEndian32(bytes, at + 22, size);
            ++patched;
        } else if (bytes.compare(at, 4, "PK\x01\x02") == 0 &&
                   bytes.compare(at + 46, entryName.size(), entryName) == 0 &&
                   littleEndian16(bytes, at + 28) == entryName.size()) {
            putLittleEndian32(bytes, at + 24, size);
            ++patched;
        }
    }
    if (patched != 2)
        throw std::runtime_error("cannot find both headers of " + entryName);
    writeFile(path, bytes);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace sedilo::test
