#include "services/workbook/ZipPackage.h"

#include <algorithm>
#include <new>
#include <vector>
#include <zip.h>


#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook {

namespace {

// Deflate cannot pack better than about 1032:1; anything beyond is a bomb.
constexpr std::uint64_t kMaxRatio = 1100;
constexpr std::uint64_t kRatioSlack = 64 * 1024;

std::string libzipMessage(zip_error_t* error)
{
    std::string message = zip_error_strerror(error);
    zip_error_fini(error);
    return message;
}

// libzip running out of memory says nothing of the archive: it is the
// workbook being too large for this machine, as a failed allocation of ours is.
void throwIfOutOfMemory(zip_error_t* error)
{
    if (zip_error_code_zip(error) == ZIP_ER_MEMORY) {
        zip_error_fini(error);
        throw std::bad_alloc();
    }
}

} // namespace

ZipPackage::ZipPackage(std::string file, std::shared_ptr<const std::string> bytes)
    : m_file(std::move(file)), m_bytes(std::move(bytes))
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(m_bytes->data(), m_bytes->size(), 0, &error);
    if (!source) {
        throwIfOutOfMemory(&error);
        throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "cannot read the zip archive: " + libzipMessage(&error));
    }
    m_archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_archive) {
        zip_source_free(source);
        throwIfOutOfMemory(&error);
        throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "damaged or truncated zip archive: " + libzipMessage(&error));
    }
    zip_error_fini(&error);
}

ZipPackage::~ZipPackage()
{
    if (m_archive)
        zip_discard(m_archive);
}

std::optional<std::uint64_t> ZipPackage::find(const std::string& partName) const
{
    const zip_int64_t index = zip_name_locate(m_archive, partName.c_str(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
    if (index < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(index);
}

std::uint64_t ZipPackage::entryCount() const
{
    const zip_int64_t count = zip_get_num_entries(m_archive, 0);
    return count < 0 ? 0 : static_cast<std::uint64_t>(count);
}

std::string ZipPackage::read(const std::string& partName) const
{
    const auto index = find(partName);
    if (!index)
        throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "the part " + partName + " is missing");
    return readEntry(*index, partName);
}

std::optional<std::string> ZipPackage::readIfPresent(const std::string& partName) const
{
    const auto index = find(partName);
    if (!index)
        return std::nullopt;
    return readEntry(*index, partName);
}

std::uint64_t ZipPackage::checkedSize(const std::string& partName, std::uint64_t limit) const
{
    const auto index = find(partName);
    if (!index)
        throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "the part " + partName + " is missing");
    return checkedEntrySize(*index, partName, limit);
}

void ZipPackage::stream(const std::string& partName, std::uint64_t limit,
                        const std::function<void(const char* data, std::size_t size)>& sink) const
{
    const auto index = find(partName);
    if (!index)
        throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "the part " + partName + " is missing");
    streamEntry(*index, partName, limit, sink);
}

std::uint64_t ZipPackage::checkedEntrySize(std::uint64_t index, const std::string& partName,
                                           std::uint64_t limit) const
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        !(stat.valid & ZIP_STAT_COMP_SIZE))
        throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "cannot read the part " + partName + ": " + zip_strerror(m_archive));
    // The general limit first, then the packing, then the caller's own limit,
    // so that a bomb is called one whatever it claims.
    const auto tooLarge = [&](std::uint64_t bound) {
        return WorkbookError(CauseKind::WorkbookTooLarge, m_file, "the part " + partName + " is too large (" + std::to_string(stat.size) +
                                         " bytes unpacked; the limit is " + std::to_string(bound) + ")");
    };
    if (stat.size > std::max(limit, kPartLimit))
        throw tooLarge(std::max(limit, kPartLimit));
    if (stat.size > stat.comp_size * kMaxRatio + kRatioSlack)
        throw WorkbookError(CauseKind::WorkbookTooLarge, m_file, "the part " + partName + " claims " + std::to_string(stat.size) +
                                        " bytes from " + std::to_string(stat.comp_size) +
                                        " packed bytes: a zip bomb, refused");
    if (stat.size > limit)
        throw tooLarge(limit);
    return stat.size;
}

std::string ZipPackage::readEntry(std::uint64_t index, const std::string& partName) const
{
    std::string content;
    content.reserve(static_cast<std::size_t>(checkedEntrySize(index, partName, kPartLimit)));
    streamEntry(index, partName, kPartLimit, [&](const char* data, std::size_t size) { content.append(data, size); });
    return content;
}

void ZipPackage::streamEntry(std::uint64_t index, const std::string& partName, std::uint64_t limit,
                             const std::function<void(const char* data, std::size_t size)>& sink) const
{
    const std::uint64_t size = checkedEntrySize(index, partName, limit);
    zip_file_t* entry = zip_fopen_index(m_archive, index, 0);
    if (!entry)
        throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "cannot open the part " + partName + ": " + zip_strerror(m_archive));
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> closer(entry, &zip_fclose);
    constexpr std::uint64_t kPiece = 256 * 1024;
    std::vector<char> piece(static_cast<std::size_t>(std::min(kPiece, std::max<std::uint64_t>(size, 1))));
    std::uint64_t filled = 0;
    std::string failure;
    while (filled < size) {
        const zip_int64_t got = zip_fread(entry, piece.data(), std::min<std::uint64_t>(piece.size(), size - filled));
        if (got < 0) {
            failure = zip_error_strerror(zip_file_get_error(entry));
            break;
        }
        if (got == 0)
            break;
        filled += static_cast<std::uint64_t>(got);
        sink(piece.data(), static_cast<std::size_t>(got));
    }
    if (failure.empty() && filled < size)
        failure = "it ends before its declared size";
    if (failure.empty()) {
        // Reading on past the declared size also makes libzip check the CRC.
        char extra = 0;
        const zip_int64_t more = zip_fread(entry, &extra, 1);
        if (more > 0)
            failure = "it holds more than its declared size";
        else if (more < 0)
            failure = zip_error_strerror(zip_file_get_error(entry));
    }
    if (!failure.empty())
        throw WorkbookError(CauseKind::DamagedWorkbook, m_file, "the part " + partName + " is damaged: " + failure);
}

} // namespace sedilo::workbook
