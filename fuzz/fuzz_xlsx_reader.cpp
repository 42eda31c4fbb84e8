// libFuzzer target for the .xlsx reader and the sheet writer.
//
// An input starting with "PK" is taken as a whole package. Any other input is
// split at NUL bytes into the XML of worksheet 1, the shared strings, the
// styles and the workbook part, which are packed (uncompressed) into an
// otherwise valid package, so that mutations reach the XML handling instead of
// stopping at the zip's checksums.

#include <cstdint>
#include <cstdlib>
#include <pugixml.hpp>
#include <string>
#include <unistd.h>
#include <vector>
#include <zip.h>

#include "services/workbook/XlsxWorkbook.h"
#include "services/workbook/XlsxWorksheet.h"

namespace {

using sedilo::workbook::WorkbookError;

const char* const kContentTypes =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";
const char* const kPackageRelationships =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
const char* const kWorkbookRelationships =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "worksheet\" Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "sharedStrings\" Target=\"sharedStrings.xml\"/>"
    "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "styles\" Target=\"styles.xml\"/></Relationships>";
const char* const kDefaultWorkbook =
    "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";

std::string packParts(const std::string& input)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() < 3) {
        const std::size_t end = input.find('\0', start);
        if (end == std::string::npos)
            break;
        parts.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(input.substr(std::min(start, input.size())));
    parts.resize(4);
    if (parts[3].empty())
        parts[3] = kDefaultWorkbook;
    const std::vector<std::pair<const char*, std::string>> entries = {
        {"[Content_Types].xml", kContentTypes},
        {"_rels/.rels", kPackageRelationships},
        {"xl/workbook.xml", parts[3]},
        {"xl/_rels/workbook.xml.rels", kWorkbookRelationships},
        {"xl/worksheets/sheet1.xml", parts[0]},
        {"xl/sharedStrings.xml", parts[1]},
        {"xl/styles.xml", parts[2]},
    };

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    zip_source_keep(buffer);
    for (const auto& [name, content] : entries) {
        const zip_int64_t index = zip_file_add(archive, name, zip_source_buffer(archive, content.data(), content.size(), 0), 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    zip_close(archive);
    std::string bytes;
    zip_stat_t stat;
    if (zip_source_stat(buffer, &stat) == 0 && zip_source_open(buffer) == 0) {
        bytes.resize(stat.size);
        zip_source_read(buffer, bytes.data(), stat.size);
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

void exercise(const std::string& bytes)
{
    auto book = sedilo::workbook::openXlsx("fuzz.xlsx", std::make_shared<const std::string>(bytes));
    auto& sheet = dynamic_cast<sedilo::workbook::XlsxWorksheet&>(book->firstSheet());
    const int lastRow = sheet.lastRow();
    const int lastColumn = sheet.lastColumn();
    try {
        sheet.forEachCell([](int, int, const std::string&) {});
    } catch (const WorkbookError&) {
    }
    sheet.setCellText(1, 1, " <&> _x0041_ \x01");
    sheet.setCellText(std::max(lastRow, 1), lastColumn + 1, "right");
    sheet.setCellText(lastRow + 1, 1, "below");
    sheet.setCellText(2, 2, "");
    sheet.replaceAll("a", "Z");
    const std::string edited = sheet.editedXml();
    pugi::xml_document document;
    if (!document.load_buffer(edited.data(), edited.size()))
        std::abort(); // the writer broke a part that parsed
    // The whole package too, through the raw copy of the other entries.
    static const std::string saved = "/tmp/sedilo-fuzz-xlsx-" + std::to_string(::getpid());
    book->saveAs(saved);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        exercise(input.starts_with("PK") ? input : packParts(input));
    } catch (const WorkbookError&) {
        // Refusing bad input is the expected outcome.
    }
    return 0;
}
