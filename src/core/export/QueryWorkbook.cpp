#include "export/QueryWorkbook.h"

#include <array>

#include "services/workbook/CellTextLimits.h"
#include "services/workbook/TextRowsWorkbook.h"

namespace sedilo::exporting {

namespace {

constexpr std::array<std::string_view, ExportRows::FieldCount> kHeader{"姓名", "考号", "单位", "考室"};

} // namespace

void QueryWorkbook::appendNext()
{
    const int row = static_cast<int>(m_count) + 2; // below the header
    for (int field = 0; field < ExportRows::FieldCount; ++field)
        workbook::checkCellText(row, field + 1, m_rows.text(m_first + m_count, static_cast<ExportRows::Field>(field)));
    ++m_count;
}

std::string QueryWorkbook::saveAs(const std::string& pathWithoutExtension) const
{
    std::array<std::string_view, ExportRows::FieldCount> texts;
    const auto rowAt = [&](std::size_t row) -> workbook::RowTexts {
        if (row == 0)
            return kHeader;
        for (int field = 0; field < ExportRows::FieldCount; ++field)
            texts[field] = m_rows.text(m_first + row - 1, static_cast<ExportRows::Field>(field));
        return texts;
    };
    return workbook::saveTextRows(pathWithoutExtension, m_count + 1, ExportRows::FieldCount, rowAt);
}

} // namespace sedilo::exporting
