#include "ArrangeTestBed.h"

#include <algorithm>
#include <filesystem>

#include "services/workbook/NewWorkbook.h"
#include "services/workbook/Workbook.h"
#include "store/Statements.h"

namespace sedilo::test {

std::string makeTemplate(const std::string& pathWithoutExtension, const Cells& cells)
{
    workbook::NewWorkbook book;
    for (const auto& [cell, text] : cells)
        book.setCellText(cell.first, cell.second, text);
    return book.saveAs(pathWithoutExtension);
}

Cells seatBlock(int firstRow, int lastRow, int firstColumn, int lastColumn, const std::string& text)
{
    Cells cells{{{1, 1}, "考室名称"}};
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            cells[{row, column}] = text;
    return cells;
}

Cells readCells(const std::string& path)
{
    Cells cells;
    const auto book = workbook::Workbook::open(path);
    book->firstSheet().forEachCell([&](int row, int column, const std::string& text) {
        cells[{row, column}] = text;
    });
    return cells;
}

bool ListSource::AssignSeat(const std::string& room, int seat)
{
    seats.emplace_back(room, seat);
    ++m_next;
    return !exhausted();
}

std::vector<Examinee> namedExaminees(const std::string& prefix, int count)
{
    std::vector<Examinee> examinees;
    for (int i = 1; i <= count; ++i)
        examinees.push_back({prefix + std::to_string(i), std::to_string(20260000 + i), "一班"});
    return examinees;
}

GenerationBed::GenerationBed()
    : m_out(m_dir.file("out") + "/"), m_database(m_dir.file("data.mdb")), m_cipher(m_prompt)
{
    m_cipher.setPassPhrase(cipher::kCipherPassPhrase);
    std::filesystem::create_directory(m_dir.file("out"));
    m_tab.ksoutpath = m_out;
    m_tab.ksscpro.setListener([this](const ProgressState& state) { m_progress.push_back(state); });
}

void GenerationBed::storeExaminees(const std::vector<Examinee>& examinees)
{
    m_database.replaceSharedRecordset();
    m_database.OpenDataConnection();
    store::Recordset& rows = m_database.SharedRecordset();
    rows.open(store::sql::kSelectBaseData, m_database.SharedConnection());
    const auto count = static_cast<std::int64_t>(examinees.size());
    for (std::int64_t i = 0; i < count; ++i) {
        const Examinee& examinee = examinees[static_cast<std::size_t>(i)];
        rows.addNew();
        rows.setValue("姓名", m_cipher.EncryptName(examinee.name));
        rows.setValue("考号", examinee.number);
        rows.setValue("单位", examinee.unit);
        rows.setValue("成绩", std::to_string(1000 - i));
        rows.setValue("随机号", static_cast<double>(count - i));
        rows.update();
    }
    m_database.closeAll();
}

void GenerationBed::addRoom(const std::string& name, const std::string& templatePath)
{
    rooms::RoomGrid& grid = m_rooms.ksgrid;
    int row = grid.Rows() - 1;
    if (row < 1 || !grid.isBlankRow(row)) {
        grid.setRows(grid.Rows() + 1);
        row = grid.Rows() - 1;
    }
    grid.setTextMatrix(row, 0, name);
    grid.setTextMatrix(row, 1, templatePath);
}

arrange::GenerationResult GenerationBed::generate(unsigned workers)
{
    return arrange::GenerateArrangement(m_tab, m_rooms, m_database, m_cipher, m_prompt, {workers});
}

std::vector<Placement> GenerationBed::placements()
{
    m_database.replaceSharedRecordset();
    m_database.OpenDataConnection();
    store::Recordset& rows = m_database.SharedRecordset();
    rows.open(store::sql::kOrderByScoreDesc, m_database.SharedConnection());
    std::vector<Placement> out;
    for (; !rows.atEnd(); rows.moveNext())
        out.push_back({rows.text("姓名"), rows.text("考室"), rows.text("座位号")});
    m_database.closeAll();
    return out;
}

std::vector<std::string> GenerationBed::outputFiles() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.file("out")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string GenerationBed::ksmb() const
{
    return dataPath("ksmb.xlsx");
}

} // namespace sedilo::test
