#include "XlsTestBooks.h"

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "services/workbook/xls/CompoundFile.h"
#include "services/workbook/xls/LittleEndian.h"

namespace sedilo::test {

using namespace sedilo::workbook::xls;

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string workbookStream(const std::string& path)
{
    const CompoundEntry root = readCompoundFile(readBytes(path));
    const CompoundEntry* stream = root.findStream("Workbook");
    if (!stream)
        throw std::runtime_error(path + " has no workbook stream");
    return stream->data;
}

std::vector<std::string> recordBodies(const std::string& stream, std::uint16_t type, std::size_t substreamStart)
{
    std::vector<std::string> bodies;
    int depth = 0;
    for (const BiffRecord& rec : splitRecords(stream)) {
        if (rec.offset < substreamStart)
            continue;
        if (rec.type == record::Bof)
            ++depth;
        if (depth == 1 && rec.type == type)
            bodies.emplace_back(rec.body(stream));
        if (rec.type == record::Eof && --depth == 0)
            break;
    }
    return bodies;
}

std::vector<std::size_t> sheetPositions(const std::string& stream)
{
    std::vector<std::size_t> positions;
    for (const std::string& body : recordBodies(stream, record::BoundSheet, 0))
        positions.push_back(readU32(body.data()));
    return positions;
}

std::string positionFaults(const std::string& stream)
{
    std::map<std::size_t, std::uint16_t> typeAt;
    const std::vector<BiffRecord> records = splitRecords(stream);
    for (const BiffRecord& rec : records)
        typeAt[rec.offset] = rec.type;
    auto isCell = [](std::uint16_t type) {
        return type == record::LabelSst || type == record::Label || type == record::Rk || type == record::MulRk
            || type == record::Number || type == record::BoolErr || type == record::Blank
            || type == record::MulBlank || type == record::Formula || type == record::RString;
    };
    for (std::size_t position : sheetPositions(stream))
        if (typeAt.count(position) == 0 || typeAt[position] != record::Bof)
            return "a BOUNDSHEET position misses its BOF record";
    for (const BiffRecord& rec : records) {
        const std::string_view body = rec.body(stream);
        if (rec.type == record::Index) {
            for (std::size_t at = 16; at + 4 <= body.size(); at += 4)
                if (typeAt[readU32(body.data() + at)] != record::DbCell)
                    return "an INDEX position misses its DBCELL record";
        } else if (rec.type == record::DbCell) {
            const std::size_t back = readU32(body.data());
            if (back == 0)
                continue;
            const std::size_t row = rec.offset - back;
            if (typeAt[row] != 0x0208)
                return "a DBCELL offset misses its first ROW record";
            std::size_t cell = row + 24;
            for (std::size_t at = 4; at + 2 <= body.size(); at += 2) {
                cell += readU16(body.data() + at);
                if (!isCell(typeAt[cell]))
                    return "a DBCELL offset misses the first cell of a row";
            }
        }
    }
    return {};
}

namespace {

void record(std::string& out, std::uint16_t type, const std::string& body)
{
    appendRecord(out, type, body);
}

std::string bof(std::uint16_t version, std::uint16_t kind)
{
    std::string body;
    appendU16(body, version);
    appendU16(body, kind);
    appendU32(body, 0);
    appendU32(body, 0);
    appendU32(body, 0);
    return body;
}

} // namespace

std::string labelBody(const std::u16string& text, bool wide)
{
    std::string body;
    appendU16(body, 0); // XF
    appendU16(body, static_cast<std::uint16_t>(text.size()));
    body.push_back(wide ? 1 : 0);
    for (char16_t c : text) {
        if (wide)
            appendU16(body, c);
        else
            body.push_back(static_cast<char>(c));
    }
    return body;
}

std::string numberBody(double value)
{
    std::string body;
    appendU16(body, 0);
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    appendU32(body, static_cast<std::uint32_t>(bits));
    appendU32(body, static_cast<std::uint32_t>(bits >> 32));
    return body;
}

std::string handMadeWorkbook(const std::vector<HandMadeCell>& cells, std::uint16_t version, bool encrypted,
                             const std::string& streamName)
{
    std::string globals;
    record(globals, record::Bof, bof(version, 0x0005));
    if (encrypted)
        record(globals, record::FilePass, std::string(54, '\1'));
    for (int i = 0; i < 16; ++i) {
        std::string xf(20, '\0');
        record(globals, record::Xf, xf);
    }
    const std::size_t boundSheetAt = globals.size() + 4;
    std::string sheetEntry(4, '\0');
    sheetEntry += std::string("\0\0\x05\0Rooms", 9);
    record(globals, record::BoundSheet, sheetEntry);
    record(globals, record::Eof, "");

    std::map<int, std::vector<const HandMadeCell*>> rows;
    for (const HandMadeCell& cell : cells)
        rows[cell.row].push_back(&cell);

    std::string sheet;
    const std::size_t sheetStart = globals.size();
    record(sheet, record::Bof, bof(version, 0x0010));
    const std::size_t indexAt = sheet.size() + 4;
    record(sheet, record::Index, std::string(20, '\0'));
    std::string rowBlock;
    std::vector<std::size_t> firstCells;
    std::size_t firstRowAt = sheetStart + sheet.size();
    for (const auto& [row, rowCells] : rows) {
        std::string body;
        appendU16(body, static_cast<std::uint16_t>(row));
        appendU16(body, 0);
        appendU16(body, 256);
        body += std::string(10, '\0');
        record(sheet, 0x0208, body);
    }
    for (const auto& [row, rowCells] : rows) {
        firstCells.push_back(sheetStart + sheet.size());
        for (const HandMadeCell* cell : rowCells) {
            std::string body;
            appendU16(body, static_cast<std::uint16_t>(cell->row));
            appendU16(body, static_cast<std::uint16_t>(cell->column));
            record(sheet, cell->type, body + cell->body);
        }
    }
    const std::size_t dbCellAt = sheetStart + sheet.size();
    std::string dbCell;
    appendU32(dbCell, static_cast<std::uint32_t>(dbCellAt - firstRowAt));
    std::size_t previous = firstRowAt + 24;
    for (std::size_t first : firstCells) {
        appendU16(dbCell, static_cast<std::uint16_t>(first - previous));
        previous = first;
    }
    record(sheet, record::DbCell, dbCell);
    record(sheet, record::Eof, "");

    std::string index;
    appendU32(index, 0);
    appendU32(index, rows.empty() ? 0 : static_cast<std::uint32_t>(rows.begin()->first));
    appendU32(index, rows.empty() ? 0 : static_cast<std::uint32_t>(rows.rbegin()->first + 1));
    appendU32(index, 0);
    appendU32(index, static_cast<std::uint32_t>(dbCellAt));
    sheet.replace(indexAt, index.size(), index);
    writeU32(globals.data() + boundSheetAt, static_cast<std::uint32_t>(sheetStart));

    CompoundEntry root;
    root.storage = true;
    CompoundEntry stream;
    stream.name = streamName;
    stream.data = globals + sheet;
    root.children.push_back(stream);
    CompoundEntry summary;
    summary.name = "\x05SummaryInformation";
    summary.data = std::string(300, 'S');
    root.children.push_back(summary);
    return writeCompoundFile(root, "", "");
}

} // namespace sedilo::test
