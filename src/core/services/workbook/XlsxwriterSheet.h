#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace sedilo::workbook {

// One libxlsxwriter workbook of one worksheet, written at a temporary path
// for `target`: what the two kinds of new workbook share. Streamed, rows must
// come in order and cells left to right, and nothing is held in memory.
class XlsxwriterSheet {
public:
    // Up to this many cells, the sheet's scratch files stay in memory.
    static constexpr std::size_t kCellsWithScratchInMemory = 200000;

    // `cells` is about how many cells the sheet will have. Lives on one thread.
    XlsxwriterSheet(const std::string& tempPath, const std::string& target, bool streamed, std::size_t cells);
    ~XlsxwriterSheet();
    XlsxwriterSheet(const XlsxwriterSheet&) = delete;
    XlsxwriterSheet& operator=(const XlsxwriterSheet&) = delete;

    lxw_workbook* book() const { return m_book; }
    lxw_worksheet* sheet() const { return m_sheet; }

    // Row and column count from 1. Invalid UTF-8 becomes U+FFFD and a literal
    // "_xHHHH_" is kept literal; an empty text writes no cell. A failure is
    // kept for close().
    void writeText(int row, int column, std::string_view text, lxw_format* format = nullptr);
    void writeBlank(int row, int column, lxw_format* format);
    // Writes the file; throws WorkbookError naming the target at the first failure.
    void close();

private:
    // Where this thread's scratch files go while the sheet lives, whatever
    // ends its construction.
    struct ScratchPlace {
        explicit ScratchPlace(bool inMemory);
        ~ScratchPlace();
        ScratchPlace(const ScratchPlace&) = delete;
        ScratchPlace& operator=(const ScratchPlace&) = delete;
    };

    void keep(int error);

    ScratchPlace m_scratch;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    std::string m_target;
    std::string m_text; // reused: libxlsxwriter takes C strings
    int m_failure = 0;
};

} // namespace sedilo::workbook
