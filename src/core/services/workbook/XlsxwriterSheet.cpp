#include "services/workbook/XlsxwriterSheet.h"

#include <cstdio>
#include <ctime>
#include <dlfcn.h>
#include <xlsxwriter.h>

#include "services/workbook/MemoryFile.h"
#include "services/workbook/Utf8.h"
#include "services/workbook/WorkbookError.h"
#include "services/workbook/XlsxText.h"

// libxlsxwriter stamps each workbook's creation time with gmtime(), whose
// one static result all threads share, and new workbooks are saved on
// several threads at once. This definition, which the dynamic linker binds
// in its place, gives each thread a result of its own.
extern "C" std::tm* gmtime(const std::time_t* time)
{
    thread_local std::tm result;
    return gmtime_r(time, &result);
}

// libxlsxwriter deflates every part at zlib's default level and offers no
// option for it. Its parts are generated XML, which the fastest level packs
// in a third of the time for a tenth more bytes; on a city's export the
// default level took most of the saving threads' time. This definition takes
// minizip's place for libxlsxwriter and passes the call on with that level.
extern "C" int zipOpenNewFileInZip4_64(void* file, const char* filename, const void* fileInfo,
                                       const void* localExtra, unsigned localExtraSize, const void* globalExtra,
                                       unsigned globalExtraSize, const char* comment, int method, int level,
                                       int raw, int windowBits, int memLevel, int strategy, const char* password,
                                       unsigned long crcForCrypting, unsigned long versionMadeBy,
                                       unsigned long flagBase, int zip64)
{
    using Open = int (*)(void*, const char*, const void*, const void*, unsigned, const void*, unsigned, const char*,
                         int, int, int, int, int, int, const char*, unsigned long, unsigned long, unsigned long, int);
    static const auto minizip = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    constexpr int kDeflated = 8;         // Z_DEFLATED
    constexpr int kFastestLevel = 1;     // Z_BEST_SPEED
    constexpr int kInternalError = -104; // minizip's ZIP_INTERNALERROR, which libxlsxwriter reports
    if (!minizip)
        return kInternalError;
    if (method == kDeflated && level != 0)
        level = kFastestLevel;
    return minizip(file, filename, fileInfo, localExtra, localExtraSize, globalExtra, globalExtraSize, comment, method,
                   level, raw, windowBits, memLevel, strategy, password, crcForCrypting, versionMadeBy, flagBase,
                   zip64);
}

namespace {

// Whether this thread's workbook keeps libxlsxwriter's scratch files in memory.
thread_local bool t_scratchInMemory = false;

} // namespace

// libxlsxwriter writes each part of a workbook to a scratch file before it
// packs it, ten files a workbook, created and deleted at once. On a file
// system without a journal, every file created in the next minutes must
// step over each such freshly deleted one, the room workbooks included.
// This definition takes libxlsxwriter's place and keeps the scratch files of
// a small workbook in this process's memory, without a name on any disk.
extern "C" FILE* lxw_tmpfile(char* tmpdir)
{
    if (t_scratchInMemory) {
        if (FILE* file = sedilo::workbook::openMemoryFile())
            return file;
    }
    using Create = FILE* (*)(char*);
    static const auto libxlsxwriter = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "lxw_tmpfile"));
    return libxlsxwriter ? libxlsxwriter(tmpdir) : nullptr;
}

namespace sedilo::workbook {

XlsxwriterSheet::ScratchPlace::ScratchPlace(bool inMemory)
{
    t_scratchInMemory = inMemory;
}

XlsxwriterSheet::ScratchPlace::~ScratchPlace()
{
    t_scratchInMemory = false;
}

// A scratch file holds the whole sheet: a large one stays on the disk.
XlsxwriterSheet::XlsxwriterSheet(const std::string& tempPath, const std::string& target, bool streamed,
                                 std::size_t cells)
    : m_scratch(cells <= kCellsWithScratchInMemory), m_target(target)
{
    // Streamed, rows go out in order and strings inline, without the shared
    // string table's search.
    lxw_workbook_options options{};
    options.constant_memory = streamed ? LXW_TRUE : LXW_FALSE;
    m_book = workbook_new_opt(tempPath.c_str(), &options);
    if (!m_book)
        throw WorkbookError(CauseKind::Unknown, target, "cannot start a new workbook");
    m_sheet = workbook_add_worksheet(m_book, nullptr);
    if (!m_sheet) {
        lxw_workbook_free(m_book);
        throw WorkbookError(CauseKind::Unknown, target, "cannot start the worksheet of a new workbook");
    }
}

XlsxwriterSheet::~XlsxwriterSheet()
{
    if (m_book)
        lxw_workbook_free(m_book);
}

void XlsxwriterSheet::writeText(int row, int column, std::string_view text, lxw_format* format)
{
    if (text.empty())
        return;
    // Most texts need neither repair nor escaping, and go as they are.
    if (!isValidUtf8(text))
        m_text = protectLiteralEscapes(validUtf8(text));
    else if (text.find("_x") != std::string_view::npos)
        m_text = protectLiteralEscapes(text);
    else
        m_text.assign(text);
    keep(worksheet_write_string(m_sheet, static_cast<lxw_row_t>(row - 1), static_cast<lxw_col_t>(column - 1),
                                m_text.c_str(), format));
}

void XlsxwriterSheet::writeBlank(int row, int column, lxw_format* format)
{
    keep(worksheet_write_blank(m_sheet, static_cast<lxw_row_t>(row - 1), static_cast<lxw_col_t>(column - 1), format));
}

void XlsxwriterSheet::keep(int error)
{
    if (m_failure == LXW_NO_ERROR)
        m_failure = error;
}

void XlsxwriterSheet::close()
{
    lxw_workbook* book = m_book;
    m_book = nullptr; // workbook_close frees it, whatever it returns
    keep(workbook_close(book));
    if (m_failure != LXW_NO_ERROR)
        throw WorkbookError(CauseKind::FileNotWritable, m_target,
                            std::string("cannot write the workbook: ") + lxw_strerror(static_cast<lxw_error>(m_failure)));
}

} // namespace sedilo::workbook
