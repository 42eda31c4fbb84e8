#include "basedata/BaseDataSample.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "services/Messages.h"
#include "services/ShellFolders.h"
#include "services/workbook/NewWorkbook.h"

namespace sedilo::basedata {

namespace {

constexpr std::array<std::array<const char*, 4>, 4> kSampleCells = {{
    {"姓名（必填）", "考号（必填）", "单位（选填）", "成绩（选填）"},
    {"张三", "20140001", "一班", "89"},
    {"李四", "20140002", "二班", "95"},
    {"王五", "20140003", "三班", "100"},
}};

constexpr std::uint32_t kRequiredSampleColor = 0xFF0000;

std::filesystem::path makeUniqueFolder(const std::filesystem::path& parent)
{
    std::string pattern = (parent / "sedilo-sample-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        const int cause = errno; // the message's allocations may change it
        throw std::system_error(cause, std::generic_category(), "cannot create a folder in " + parent.string());
    }
    return pattern;
}

} // namespace

BaseDataSample::BaseDataSample(std::filesystem::path parent) : m_parent(std::move(parent)) {}

BaseDataSample::~BaseDataSample()
{
    std::error_code ignored;
    for (const WrittenSample& sample : m_written) {
        std::error_code error;
        const auto size = std::filesystem::file_size(sample.path, error);
        if (error)
            continue;
        const auto writeTime = std::filesystem::last_write_time(sample.path, error);
        if (!error && size == sample.size && writeTime == sample.writeTime)
            std::filesystem::remove(sample.path, ignored);
    }
    // Only an empty folder goes: what is left in it is the user's.
    if (!m_folder.empty())
        std::filesystem::remove(m_folder, ignored);
}

std::filesystem::path BaseDataSample::writeSample()
{
    workbook::NewWorkbook book;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            book.setCellText(row + 1, column + 1, kSampleCells[row][column]);
    book.setFontColor(2, 1, 4, 2, kRequiredSampleColor);
    book.fitColumns(1, 4);

    if (m_folder.empty())
        m_folder = makeUniqueFolder(m_parent);
    // Numbered on like the new workbooks of a spreadsheet program, skipping a
    // name the user may have saved into the folder meanwhile.
    std::filesystem::path stem;
    do
        stem = m_folder / ("工作簿" + std::to_string(++m_lastNumber));
    while (std::filesystem::exists(stem.string() + ".xlsx"));
    const std::filesystem::path path = book.saveAs(stem.string());
    m_written.push_back({path, std::filesystem::file_size(path), std::filesystem::last_write_time(path)});
    return path;
}

void BaseDataSample::show(ShellDialogs& dialogs, Prompt& prompt)
{
    try {
        const std::filesystem::path path = writeSample();
        if (!dialogs.openDocument(path.string()))
            ReportNoDesktopHandler(prompt, messages::kNoExcel, path.string());
    } catch (const std::exception& failure) {
        prompt.error(messages::kNoExcel, failure.what());
    }
}

} // namespace sedilo::basedata
