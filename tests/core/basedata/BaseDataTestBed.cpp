#include "BaseDataTestBed.h"

#include "services/workbook/NewWorkbook.h"
#include "store/Statements.h"

namespace sedilo::test {

BaseDataTestBed::BaseDataTestBed() : m_database(m_dir.file("data.mdb")), m_cipher(m_prompt)
{
    m_cipher.setPassPhrase(cipher::kCipherPassPhrase);
}

std::string BaseDataTestBed::makeWorkbook(const std::string& stem,
                                          const std::vector<std::vector<std::string>>& rows) const
{
    workbook::NewWorkbook book;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            if (!rows[r][c].empty())
                book.setCellText(static_cast<int>(r) + 1, static_cast<int>(c) + 1, rows[r][c]);
    return book.saveAs(m_dir.file(stem));
}

std::string BaseDataTestBed::makeExaminees(const std::string& stem, int count) const
{
    std::vector<std::vector<std::string>> rows{{"姓名", "考号", "单位", "成绩"}};
    for (int i = 1; i <= count; ++i)
        rows.push_back({"考生" + std::to_string(i), std::to_string(20140000 + i), "一班", std::to_string(i % 100)});
    return makeWorkbook(stem, rows);
}

basedata::ImportOutcome BaseDataTestBed::importFrom(const std::string& path, const basedata::ImportSettings& settings)
{
    m_tab.sjlj = path;
    return basedata::ImportBaseData(m_tab, m_database, m_cipher, m_prompt, settings);
}

std::vector<StoredExaminee> BaseDataTestBed::storedExaminees()
{
    m_database.replaceSharedRecordset();
    m_database.OpenDataConnection();
    store::Recordset& records = m_database.SharedRecordset();
    records.open(store::sql::kSelectBaseData, m_database.SharedConnection());
    std::vector<StoredExaminee> out;
    for (; !records.atEnd(); records.moveNext()) {
        const std::string decrypted = m_cipher.DecryptName(records.text("姓名"));
        const store::Field random = records.value("随机号");
        out.push_back({decrypted.substr(0, decrypted.find('\0')), records.text("考号"), records.text("单位"),
                       records.text("成绩"), std::holds_alternative<double>(random) ? std::get<double>(random) : -1});
    }
    m_database.closeAll();
    return out;
}

std::vector<basedata::ExamineeGrid::Row> BaseDataTestBed::gridRows() const
{
    std::vector<basedata::ExamineeGrid::Row> rows;
    for (int i = 0; i < m_tab.sjgrid.Rows(); ++i)
        rows.push_back(m_tab.sjgrid.row(i));
    return rows;
}

} // namespace sedilo::test
