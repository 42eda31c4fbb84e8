#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "services/workbook/StoredSheetPackage.h"
#include "services/workbook/XlsxSheetIndex.h"

namespace sedilo::workbook {

// An .xlsx file as read once: the package bytes, worksheet 1's part and its
// index. Immutable, so every copy of an opened workbook shares it, from any thread.
struct XlsxTemplate {
    std::string path;
    std::shared_ptr<const std::string> bytes;
    std::uint64_t sheetEntry = 0; // the zip entry of worksheet 1
    std::string workbookPartName;
    std::string sheetPartName;
    std::string extension; // of the package's own format, with its dot
    std::string sheetXml;
    SheetIndex index;
    int lastRow = 0;
    int lastColumn = 0;

    // Throws WorkbookError naming `path` and the cause.
    static std::shared_ptr<const XlsxTemplate> load(const std::string& path, std::shared_ptr<const std::string> bytes);

    // The package's bytes for saving as `target`: every entry copied raw in its
    // original order, worksheet 1's part replaced by `sheetXml` when given.
    // Once formulas of the sheet became values the calculation chain goes.
    std::string package(const std::string* sheetXml, bool formulasReplaced, const std::string& target) const;

private:
    std::string packageEntries(const std::string* sheetXml, bool formulasReplaced, const std::string& target) const;

    // Learnt at the first stored sheet packaged, for every copy after it.
    mutable std::once_flag m_layoutLearnt;
    mutable std::optional<StoredSheetPackage> m_storedSheetLayout;
};

} // namespace sedilo::workbook
