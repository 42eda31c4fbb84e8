#include "services/workbook/XlsxWorkbook.h"

#include "services/workbook/AtomicSave.h"
#include "services/workbook/XlsxWorksheet.h"

namespace sedilo::workbook {

namespace {

class XlsxWorkbook final : public Workbook {
public:
    explicit XlsxWorkbook(std::shared_ptr<const XlsxTemplate> parsed) : m_template(parsed), m_sheet(parsed) {}

    Worksheet& firstSheet() override { return m_sheet; }
    const Worksheet& firstSheet() const override { return m_sheet; }
    std::string extension() const override { return m_template->extension; }
    const std::string& path() const override { return m_template->path; }

    std::string saveAs(const std::string& pathWithoutExtension) const override
    {
        const std::string target = pathWithoutExtension + extension();
        saveAtomically(target, packaged(target));
        return target;
    }

    std::string saveAsNew(const std::string& pathWithoutExtension) const override
    {
        const std::string target = pathWithoutExtension + extension();
        saveAsNewFile(target, packaged(target));
        return target;
    }

    std::optional<std::string> packagedFile(const std::string& pathWithoutExtension) const override
    {
        return packaged(pathWithoutExtension + extension());
    }

    std::unique_ptr<Workbook> clone() const override { return std::make_unique<XlsxWorkbook>(*this); }

private:
    std::string packaged(const std::string& target) const
    {
        const std::string xml = m_sheet.edited() ? m_sheet.editedXml() : std::string();
        return m_template->package(m_sheet.edited() ? &xml : nullptr, m_sheet.formulasReplaced(), target);
    }

    std::shared_ptr<const XlsxTemplate> m_template;
    XlsxWorksheet m_sheet;
};

} // namespace

std::unique_ptr<Workbook> openXlsx(const std::string& path, std::shared_ptr<const std::string> bytes)
{
    return std::make_unique<XlsxWorkbook>(XlsxTemplate::load(path, std::move(bytes)));
}

} // namespace sedilo::workbook
