#pragma once

#include <map>
#include <memory>
#include <string>

#include "services/workbook/Workbook.h"
#include "services/workbook/xls/XlsBook.h"

namespace sedilo::workbook::xls {

// Worksheet 1 of an .xls workbook: the shared parsed cells plus this copy's
// own edits (new texts by cell), which the patcher writes at save.
class XlsSheet : public Worksheet {
public:
    XlsSheet(std::shared_ptr<const XlsBook> book, std::string path, std::map<CellKey, std::string> edits = {});

    std::string cellText(int row, int column) const override;
    bool formulaLacksResult(int row, int column) const override;
    void setCellText(int row, int column, const std::string& text) override;
    int lastRow() const override;
    int lastColumn() const override;
    void replaceAll(const std::string& what, const std::string& with) override;
    void forEachCell(const std::function<void(int row, int column, const std::string& text)>& visit) const override;

    const std::map<CellKey, std::string>& edits() const { return m_edits; }

private:
    std::string storedText(const CellKey& key, const XlsCell& cell) const;

    std::shared_ptr<const XlsBook> m_book;
    std::string m_path;
    std::map<CellKey, std::string> m_edits;
};

} // namespace sedilo::workbook::xls
