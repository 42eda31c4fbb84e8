#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace sedilo::workbook {

// A new .xlsx workbook with one worksheet, written with libxlsxwriter at save.
class NewWorkbook {
public:
    NewWorkbook();
    ~NewWorkbook();
    NewWorkbook(const NewWorkbook&) = delete;
    NewWorkbook& operator=(const NewWorkbook&) = delete;

    void setCellText(int row, int column, const std::string& text);
    // Font colour 0xRRGGBB for the cells of a rectangle.
    void setFontColor(int firstRow, int firstColumn, int lastRow, int lastColumn, std::uint32_t rgb);
    // Fits the widths of whole columns to their contents (a CJK character counts as two).
    void fitColumns(int firstColumn, int lastColumn);

    // Saves as `pathWithoutExtension` + ".xlsx" (atomically) and returns that path.
    std::string saveAs(const std::string& pathWithoutExtension) const;

private:
    struct Data;
    std::unique_ptr<Data> m_data;
};

} // namespace sedilo::workbook
