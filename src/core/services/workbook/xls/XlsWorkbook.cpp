#include "services/workbook/xls/XlsWorkbook.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "services/failure/FileErrorCause.h"
#include "services/workbook/AtomicSave.h"
#include "services/workbook/xls/Biff8Reader.h"
#include "services/workbook/xls/XlsPatcher.h"
#include "services/workbook/xls/XlsSheet.h"

namespace sedilo::workbook {

namespace {

using xls::BiffError;
using xls::CellKey;
using xls::XlsBook;
using xls::XlsSheet;

// Larger than any seat chart or examinee list saved as .xls (Excel 97 files
// hold at most 65,536 rows); refused before reading it into memory.
constexpr std::uintmax_t MaxFileSize = 256ull * 1024 * 1024;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int cause = errno;
        throw WorkbookError(
            FileErrorCause(cause, path, FileAccess::Read, std::string("cannot be opened: ") + std::strerror(cause)));
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        throw WorkbookError(CauseKind::FileUnreadable, path, "cannot be read");
    if (static_cast<std::uintmax_t>(size) > MaxFileSize)
        throw WorkbookError(CauseKind::WorkbookTooLarge, path,
                            "is larger than 256 MB, far more than any workbook the program handles");
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), size))
        throw WorkbookError(CauseKind::FileUnreadable, path, "cannot be read");
    return bytes;
}

class XlsWorkbook : public Workbook {
public:
    XlsWorkbook(std::shared_ptr<const XlsBook> book, std::string path, std::map<CellKey, std::string> edits = {})
        : m_book(book), m_path(std::move(path)), m_sheet(std::move(book), m_path, std::move(edits))
    {
    }

    Worksheet& firstSheet() override { return m_sheet; }
    const Worksheet& firstSheet() const override { return m_sheet; }
    std::string extension() const override { return ".xls"; }
    const std::string& path() const override { return m_path; }

    std::string saveAs(const std::string& pathWithoutExtension) const override
    {
        const std::string target = pathWithoutExtension + extension();
        std::string bytes;
        try {
            const std::string stream = xls::patchWorkbookStream(*m_book, m_sheet.edits());
            bytes = xls::writeCompoundFile(m_book->container, m_book->streamName, stream);
        } catch (const BiffError& error) {
            // The template's own structure is at fault, not the target.
            throw WorkbookError(error.kind(), m_path, error.what());
        }
        saveAtomically(target, [&](const std::string& temporary) {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            const int writeCause = out ? 0 : errno; // closing would replace it
            out.close();
            if (!out) {
                const int cause = writeCause != 0 ? writeCause : errno;
                throw WorkbookError(FileErrorCause(cause, target, FileAccess::Write,
                                                   std::string("cannot be written: ") + std::strerror(cause)));
            }
        });
        return target;
    }

    std::unique_ptr<Workbook> clone() const override
    {
        return std::make_unique<XlsWorkbook>(m_book, m_path, m_sheet.edits());
    }

private:
    std::shared_ptr<const XlsBook> m_book;
    std::string m_path;
    XlsSheet m_sheet;
};

} // namespace

std::unique_ptr<Workbook> openXls(const std::string& path)
{
    std::string bytes = readFile(path);
    try {
        auto book = std::make_shared<const XlsBook>(xls::readXlsBook(std::move(bytes)));
        return std::make_unique<XlsWorkbook>(std::move(book), path);
    } catch (const BiffError& error) {
        throw WorkbookError(error.kind(), path, error.what());
    } catch (const std::bad_alloc&) {
        throw WorkbookError(CauseKind::WorkbookTooLarge, path, "is too large to be read");
    }
}

} // namespace sedilo::workbook
