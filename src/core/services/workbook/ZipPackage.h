#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct zip;

namespace sedilo::workbook {

// A zip archive read from bytes held in memory. Each instance owns its own
// libzip handle, so instances over the same shared bytes may be used from
// different threads at once.
class ZipPackage {
public:
    // Largest part that is ever inflated: far more than any real seat chart.
    static constexpr std::uint64_t kPartLimit = 256ull * 1024 * 1024;

    // Throws WorkbookError naming `file` when the bytes are not a readable zip archive.
    ZipPackage(std::string file, std::shared_ptr<const std::string> bytes);
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    // The entry index of a part name (without leading "/", letter case ignored).
    std::optional<std::uint64_t> find(const std::string& partName) const;

    // The inflated content of a part. Refuses parts above kPartLimit and parts
    // whose size is implausible for their packed size, and never inflates more
    // than the size the archive declares.
    std::string read(const std::string& partName) const;
    std::optional<std::string> readIfPresent(const std::string& partName) const;

    // The part's inflated size as the archive declares it, after the same
    // plausibility checks as read(); `limit` replaces kPartLimit.
    std::uint64_t checkedSize(const std::string& partName, std::uint64_t limit = kPartLimit) const;

    // Inflates a part piece by piece into `sink`, so that a large part never
    // lies in memory whole. The same checks as read(), with `limit` for kPartLimit.
    void stream(const std::string& partName, std::uint64_t limit,
                const std::function<void(const char* data, std::size_t size)>& sink) const;

    std::uint64_t entryCount() const;
    zip* handle() const { return m_archive; }
    const std::string& file() const { return m_file; }

private:
    std::string readEntry(std::uint64_t index, const std::string& partName) const;
    std::uint64_t checkedEntrySize(std::uint64_t index, const std::string& partName, std::uint64_t limit) const;
    void streamEntry(std::uint64_t index, const std::string& partName, std::uint64_t limit,
                     const std::function<void(const char* data, std::size_t size)>& sink) const;

    std::string m_file;
    std::shared_ptr<const std::string> m_bytes;
    zip* m_archive = nullptr;
};

} // namespace sedilo::workbook
