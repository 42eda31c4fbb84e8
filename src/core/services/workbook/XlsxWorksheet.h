#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "services/workbook/Workbook.h"
#include "services/workbook/XlsxTemplate.h"

namespace sedilo::workbook {

// Worksheet 1 of an .xlsx workbook: the shared, parsed template plus this
// copy's own edits, so copying a filled sheet costs only its edits.
class XlsxWorksheet final : public Worksheet {
public:
    explicit XlsxWorksheet(std::shared_ptr<const XlsxTemplate> parsed) : m_template(std::move(parsed)) {}

    std::string cellText(int row, int column) const override;
    bool formulaLacksResult(int row, int column) const override;
    void setCellText(int row, int column, const std::string& text) override;
    int lastRow() const override;
    int lastColumn() const override;
    void replaceAll(const std::string& what, const std::string& with) override;
    void forEachCell(const std::function<void(int row, int column, const std::string& text)>& visit) const override;

    bool edited() const { return !m_edits.empty(); }
    // Whether an edit turned a formula cell into a value.
    bool formulasReplaced() const;
    // The sheet part with this copy's edits written in.
    std::string editedXml() const;

private:
    void checkCell(int row, int column) const;
    // The text of a cell of the template, failing on an error value.
    const std::string& templateText(const IndexedCell& cell) const;
    void computeBounds(int& lastRow, int& lastColumn) const;

    std::shared_ptr<const XlsxTemplate> m_template;
    std::map<std::uint64_t, std::string> m_edits; // cellKey to the text written
};

} // namespace sedilo::workbook
