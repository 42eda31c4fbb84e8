#include "services/workbook/TextRowsWorkbook.h"

#include <algorithm>

#include "services/workbook/AtomicSave.h"
#include "services/workbook/XlsxwriterSheet.h"

namespace sedilo::workbook {

std::string saveTextRows(const std::string& pathWithoutExtension, std::size_t rowCount, std::size_t columnCount,
                         const std::function<RowTexts(std::size_t row)>& rowAt)
{
    const std::string target = pathWithoutExtension + ".xlsx";
    saveAtomically(target, [&](const std::string& tempPath) {
        XlsxwriterSheet out(tempPath, target, true, rowCount * columnCount);
        for (std::size_t row = 0; row < rowCount; ++row) {
            const RowTexts texts = rowAt(row);
            for (std::size_t column = 0; column < std::min(texts.size(), columnCount); ++column)
                out.writeText(static_cast<int>(row + 1), static_cast<int>(column + 1), texts[column]);
        }
        out.close();
    });
    return target;
}

} // namespace sedilo::workbook
