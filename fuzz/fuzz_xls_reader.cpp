// libFuzzer target for the .xls reader and patcher. The first byte chooses
// what the rest is: a whole compound file, or a bare workbook stream that is
// wrapped in a compound file first (so that mutations reach the BIFF records
// instead of dying in the container). Every readable input is then filled
// and laid out again in memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "services/workbook/WorkbookError.h"
#include "services/workbook/xls/Biff8Reader.h"
#include "services/workbook/xls/CompoundFile.h"
#include "services/workbook/xls/XlsPatcher.h"
#include "services/workbook/xls/XlsSheet.h"

using namespace sedilo::workbook;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        if (data[0] & 1) {
            xls::CompoundEntry root;
            root.storage = true;
            xls::CompoundEntry stream;
            stream.name = "Workbook";
            stream.data = std::move(input);
            root.children.push_back(std::move(stream));
            input = xls::writeCompoundFile(root, "", "");
        }
        auto book = std::make_shared<const xls::XlsBook>(xls::readXlsBook(std::move(input)));
        xls::XlsSheet sheet(book, "fuzz.xls");
        const int rows = sheet.lastRow();
        const int columns = sheet.lastColumn();
        for (const auto& [key, cell] : book->cells) {
            try {
                if (sheet.cellText(key.first, key.second).find("a") != std::string::npos)
                    sheet.setCellText(key.first, key.second, "座位号 " + std::to_string(rows + columns));
            } catch (const WorkbookError&) {
            }
        }
        sheet.replaceAll("b", "姓名");
        const std::string stream = xls::patchWorkbookStream(*book, sheet.edits());
        const std::string file = xls::writeCompoundFile(book->container, book->streamName, stream);
        // What was read must read again once written.
        try {
            xls::readXlsBook(file);
        } catch (const std::exception&) {
            __builtin_trap();
        }
    } catch (const xls::BiffError&) {
    } catch (const WorkbookError&) {
    }
    return 0;
}
