#include "services/workbook/XlsxTemplate.h"

#include <algorithm>
#include <memory>
#include <zip.h>

#include "services/workbook/CalcChain.h"
#include "services/workbook/WorkbookError.h"
#include "services/workbook/XlsxParts.h"
#include "services/workbook/XlsxSharedStrings.h"
#include "services/workbook/XmlPart.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::workbook {

namespace {

constexpr std::size_t kStoredPartSize = 16384;

} // namespace

std::shared_ptr<const XlsxTemplate> XlsxTemplate::load(const std::string& path,
                                                       std::shared_ptr<const std::string> bytes)
{
    auto loaded = std::make_shared<XlsxTemplate>();
    loaded->path = path;
    loaded->bytes = bytes;
    const ZipPackage package(path, std::move(bytes));
    const WorkbookParts parts = locateParts(package);
    const SharedStringTable strings = loadSharedStrings(package, parts.sharedStringsPart);
    const std::vector<bool> dates = readDateStyles(package, parts.stylesPart);

    loaded->extension = parts.extension;
    loaded->workbookPartName = parts.workbookPartName;
    loaded->sheetPartName = parts.sheetPartName;
    package.checkedSize(parts.sheetPartName, kDocumentPartLimit);
    loaded->sheetXml = package.read(parts.sheetPartName);
    loaded->sheetEntry = *package.find(parts.sheetPartName);
    loaded->index = indexSheet(loaded->sheetXml, SheetContext{strings, dates, parts.date1904}, path,
                               parts.sheetPartName);
    for (const IndexedCell& cell : loaded->index.cells) {
        if (!cell.hasValue())
            continue;
        loaded->lastRow = std::max(loaded->lastRow, cell.row);
        loaded->lastColumn = std::max(loaded->lastColumn, cell.column);
    }
    return loaded;
}

std::string XlsxTemplate::package(const std::string* editedSheetXml, bool formulasReplaced,
                                  const std::string& target) const
{
    const bool stored = editedSheetXml && !formulasReplaced && editedSheetXml->size() < kStoredPartSize
                        && sheetXml.size() + 1 < kStoredPartSize;
    if (stored) {
        std::call_once(m_layoutLearnt, [&] {
            m_storedSheetLayout = StoredSheetPackage::learn(
                [&](const std::string& sheet) { return packageEntries(&sheet, false, target); }, sheetXml);
        });
        if (m_storedSheetLayout)
            return m_storedSheetLayout->assemble(*editedSheetXml);
    }
    return packageEntries(editedSheetXml, formulasReplaced, target);
}

std::string XlsxTemplate::packageEntries(const std::string* editedSheetXml, bool formulasReplaced,
                                         const std::string& target) const
{
    const ZipPackage source(path, bytes);
    zip_t* const input = source.handle();
    PartChanges changes;
    if (formulasReplaced)
        dropCalculationChain(source, workbookPartName, changes);
    // Built in memory: one write of the finished file is far cheaper than
    // libzip's own temporary file.
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* output = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    if (!output) {
        if (buffer)
            zip_source_free(buffer);
        const std::string message = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw WorkbookError(CauseKind::Unknown, target, "cannot build the package: " + message);
    }
    zip_error_fini(&error);
    zip_source_keep(buffer);
    std::unique_ptr<zip_source_t, decltype(&zip_source_free)> kept(buffer, &zip_source_free);
    const auto fail = [&](const std::string& what) {
        const std::string message = what + ": " + zip_strerror(output);
        zip_discard(output);
        throw WorkbookError(CauseKind::Unknown, target, message);
    };

    const std::uint64_t count = source.entryCount();
    for (std::uint64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(input, i, ZIP_FL_ENC_RAW);
        if (!name)
            fail("cannot read an entry of " + path);
        if (changes.dropped.contains(name))
            continue;
        const std::string* content = editedSheetXml && i == sheetEntry ? editedSheetXml : nullptr;
        if (const auto changed = changes.replaced.find(name); changed != changes.replaced.end())
            content = &changed->second;
        const bool replaced = content != nullptr;
        zip_source_t* data = replaced ? zip_source_buffer(output, content->data(), content->size(), 0)
                                      : zip_source_zip(output, input, i, ZIP_FL_COMPRESSED, 0, -1);
        if (!data)
            fail("cannot copy " + std::string(name));
        const zip_int64_t added = zip_file_add(output, name, data, ZIP_FL_ENC_GUESS);
        if (added < 0) {
            zip_source_free(data);
            fail("cannot copy " + std::string(name));
        }
        const auto index = static_cast<zip_uint64_t>(added);
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(input, i, 0, &stat) == 0 && (stat.valid & ZIP_STAT_MTIME))
            zip_file_set_mtime(output, index, stat.mtime, 0);
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(input, i, 0, &system, &attributes) == 0)
            zip_file_set_external_attributes(output, index, 0, system, attributes);
        // A rewritten part is packed at the fastest level, or stored when
        // small: a room has thousands of copies to write, and for a seat
        // chart's few kilobytes setting up the packer costs more time than
        // the bytes it saves.
        if (replaced && (content->size() < kStoredPartSize
                             ? zip_set_file_compression(output, index, ZIP_CM_STORE, 0)
                             : zip_set_file_compression(output, index, ZIP_CM_DEFLATE, 1)) != 0)
            fail("cannot compress " + std::string(name));
    }
    if (zip_close(output) != 0)
        fail("cannot build the package");

    zip_stat_t built;
    zip_stat_init(&built);
    std::string content;
    if (zip_source_stat(buffer, &built) != 0 || zip_source_open(buffer) != 0)
        throw WorkbookError(CauseKind::Unknown, target, "cannot read the built package");
    content.resize(built.size);
    const zip_int64_t got = zip_source_read(buffer, content.data(), built.size);
    zip_source_close(buffer);
    if (got != static_cast<zip_int64_t>(built.size))
        throw WorkbookError(CauseKind::Unknown, target, "cannot read the built package");
    return content;
}

} // namespace sedilo::workbook
