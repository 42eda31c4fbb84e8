#include "services/workbook/xls/Biff8Reader.h"

#include <algorithm>
#include <cmath>

#include "services/workbook/CellText.h"
#include "services/workbook/FormulaResult.h"
#include "services/workbook/xls/ContinuedReader.h"
#include "services/workbook/xls/LittleEndian.h"

namespace sedilo::workbook::xls {

namespace {

constexpr std::uint16_t Biff8Version = 0x0600;
constexpr std::uint16_t GlobalsSubstream = 0x0005;
constexpr std::uint16_t WorksheetSubstream = 0x0010;
// Far beyond any seat chart or examinee list; keeps damaged files from
// exhausting the memory.
constexpr std::size_t MaxCells = 1'000'000;

double decodeRk(std::uint32_t rk)
{
    double value;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

class Reader {
public:
    explicit Reader(XlsBook& book) : m_book(book) {}

    void read()
    {
        const std::vector<BiffRecord>& records = m_book.records;
        checkBof();
        std::map<int, std::string> formats;
        std::vector<std::uint16_t> xfFormats;
        std::size_t firstSheetPosition = NoRecord;
        std::size_t i = 1;
        for (; i < records.size() && records[i].type != record::Eof; ++i) {
            const BiffRecord& rec = records[i];
            const std::string_view body = rec.body(m_book.stream);
            switch (rec.type) {
            case record::FilePass:
                throw BiffError(CauseKind::PasswordProtected,
                                "the workbook is encrypted (protected by a password); save it without a password first");
            case record::DateMode:
                m_book.date1904 = body.size() >= 2 && readU16(body.data()) != 0;
                break;
            case record::Format:
                if (body.size() >= 5) {
                    ContinuedReader reader({body.substr(2)});
                    formats[readU16(body.data())] = utf16ToUtf8(readUnicodeString(reader, false));
                }
                break;
            case record::Xf:
                xfFormats.push_back(body.size() >= 4 ? readU16(body.data() + 2) : 0);
                break;
            case record::Sst:
                if (m_book.sstRecord == NoRecord)
                    i = readSharedStrings(i) - 1;
                break;
            case record::ExtSst:
                m_book.extSstRecord = i;
                break;
            case record::BoundSheet:
                // The sheet type sits in the second byte of the visibility
                // word; 0 is a worksheet (charts and macros are skipped).
                if (firstSheetPosition == NoRecord && body.size() >= 6 && static_cast<std::uint8_t>(body[5]) == 0)
                    firstSheetPosition = readU32(body.data());
                break;
            default:
                break;
            }
        }
        if (i >= records.size())
            throw BiffError(CauseKind::DamagedWorkbook, "the workbook globals have no end record");
        m_book.globalsEof = i;

        m_book.xfIsDate.reserve(xfFormats.size());
        for (std::uint16_t format : xfFormats) {
            const auto custom = formats.find(format);
            m_book.xfIsDate.push_back(custom != formats.end() ? isDateFormatCode(custom->second)
                                                              : isBuiltinDateFormat(format));
        }
        if (firstSheetPosition == NoRecord)
            throw BiffError(CauseKind::DamagedWorkbook, "the workbook has no worksheet");
        readSheet(firstSheetPosition);
    }

private:
    void checkBof()
    {
        const std::vector<BiffRecord>& records = m_book.records;
        if (records.empty())
            throw BiffError(CauseKind::DamagedWorkbook, "the workbook stream is empty");
        const BiffRecord& bof = records.front();
        if (bof.type == 0x0009 || bof.type == 0x0209 || bof.type == 0x0409)
            throw BiffError(CauseKind::UnsupportedWorkbookFormat,
                            "the workbook is in the Excel 2–4 format, which is not supported; save it as .xlsx or "
                            "Excel 97–2003 .xls");
        if (bof.type != record::Bof || bof.size < 4)
            throw BiffError(CauseKind::DamagedWorkbook, "the workbook stream does not start with a BOF record");
        const std::string_view body = bof.body(m_book.stream);
        const std::uint16_t version = readU16(body.data());
        if (version != Biff8Version)
            throw BiffError(CauseKind::UnsupportedWorkbookFormat,
                            "the workbook is in the Excel 5.0/95 format (BIFF5) or older, which is not supported; "
                            "save it as .xlsx or Excel 97–2003 .xls");
        if (readU16(body.data() + 2) != GlobalsSubstream)
            throw BiffError(CauseKind::NotAWorkbook,
                            "the stream is not a workbook (it does not start with workbook globals)");
    }

    std::size_t readSharedStrings(std::size_t first)
    {
        const std::vector<BiffRecord>& records = m_book.records;
        std::vector<std::string_view> bodies{records[first].body(m_book.stream)};
        std::size_t next = first + 1;
        while (next < records.size() && records[next].type == record::Continue)
            bodies.push_back(records[next++].body(m_book.stream));
        if (bodies.front().size() < 8)
            throw BiffError(CauseKind::DamagedWorkbook, "the shared-string table is too short");
        m_book.sstRecord = first;
        m_book.sstEnd = next;
        m_book.sharedStrings = parseSharedStrings(bodies);
        return next;
    }

    void readSheet(std::size_t position)
    {
        const std::vector<BiffRecord>& records = m_book.records;
        const auto found = std::lower_bound(records.begin(), records.end(), position,
                                            [](const BiffRecord& rec, std::size_t p) { return rec.offset < p; });
        if (found == records.end() || found->offset != position || found->type != record::Bof)
            throw BiffError(CauseKind::DamagedWorkbook, "worksheet 1 does not start where the workbook says");
        const std::string_view bof = found->body(m_book.stream);
        if (bof.size() < 4 || readU16(bof.data()) != Biff8Version || readU16(bof.data() + 2) != WorksheetSubstream)
            throw BiffError(CauseKind::DamagedWorkbook, "worksheet 1 is not a BIFF8 worksheet");

        int depth = 0;
        std::map<CellKey, XlsCell>::iterator pendingString = m_book.cells.end();
        for (std::size_t i = static_cast<std::size_t>(found - records.begin()); i < records.size(); ++i) {
            const BiffRecord& rec = records[i];
            if (rec.type == record::Bof) {
                ++depth;
                continue;
            }
            if (rec.type == record::Eof) {
                if (--depth == 0)
                    break;
                continue;
            }
            if (depth != 1)
                continue; // an embedded chart
            if (rec.type == record::String) {
                if (pendingString != m_book.cells.end()) {
                    pendingString->second.text = readStringRecord(i);
                    pendingString->second.noResult = !xlsFormulaHasResult(0, false, true);
                }
                pendingString = m_book.cells.end();
                continue;
            }
            if (rec.type == record::Continue)
                continue;
            const auto formula = readCell(i);
            if (formula.first)
                pendingString = formula.second;
            else if (isCellRecord(rec.type))
                pendingString = m_book.cells.end();
        }
        for (const auto& [key, cell] : m_book.cells) {
            if (cell.kind == XlsCell::Kind::Blank && !cell.formula)
                continue;
            m_book.lastRow = std::max(m_book.lastRow, key.first);
            m_book.lastColumn = std::max(m_book.lastColumn, key.second);
        }
    }

    static bool isCellRecord(std::uint16_t type)
    {
        switch (type) {
        case record::LabelSst: case record::Label: case record::RString: case record::Rk: case record::MulRk:
        case record::Number: case record::BoolErr: case record::Blank: case record::MulBlank: case record::Formula:
            return true;
        default:
            return false;
        }
    }

    std::string readStringRecord(std::size_t index)
    {
        const std::vector<BiffRecord>& records = m_book.records;
        std::vector<std::string_view> bodies{records[index].body(m_book.stream)};
        for (std::size_t next = index + 1; next < records.size() && records[next].type == record::Continue; ++next)
            bodies.push_back(records[next].body(m_book.stream));
        ContinuedReader reader(std::move(bodies));
        return utf16ToUtf8(readUnicodeString(reader, false));
    }

    XlsCell& put(const char* body, int columnOffset, std::uint16_t xf, std::size_t index)
    {
        const int row = readU16(body) + 1;
        const int column = readU16(body + 2) + 1 + columnOffset;
        auto [it, inserted] = m_book.cells.try_emplace(CellKey{row, column});
        if (inserted && m_book.cells.size() > MaxCells)
            throw BiffError(CauseKind::WorkbookTooLarge, "worksheet 1 holds more cells than any seat chart could");
        it->second = XlsCell{};
        it->second.xf = xf;
        it->second.record = index;
        return it->second;
    }

    // Reads one cell record; for a formula whose cached result is text that
    // follows in a STRING record, returns {true, the cell}.
    std::pair<bool, std::map<CellKey, XlsCell>::iterator> readCell(std::size_t index)
    {
        const BiffRecord& rec = m_book.records[index];
        const std::string_view body = rec.body(m_book.stream);
        const char* p = body.data();
        const auto none = std::make_pair(false, m_book.cells.end());
        switch (rec.type) {
        case record::LabelSst: {
            if (body.size() < 10)
                throw BiffError(CauseKind::DamagedWorkbook, "a LABELSST record is too short");
            XlsCell& cell = put(p, 0, readU16(p + 4), index);
            const std::uint32_t sst = readU32(p + 6);
            if (sst >= m_book.sharedStrings.strings.size())
                throw BiffError(CauseKind::DamagedWorkbook, "a cell refers to a shared string that does not exist");
            cell.kind = XlsCell::Kind::Text;
            cell.text = m_book.sharedStrings.strings[sst].text;
            return none;
        }
        case record::Label:
        case record::RString: {
            if (body.size() < 9)
                throw BiffError(CauseKind::DamagedWorkbook, "a LABEL record is too short");
            std::vector<std::string_view> bodies{body.substr(6)};
            for (std::size_t next = index + 1;
                 next < m_book.records.size() && m_book.records[next].type == record::Continue; ++next)
                bodies.push_back(m_book.records[next].body(m_book.stream));
            ContinuedReader reader(std::move(bodies));
            const std::size_t count = reader.u16();
            const bool highByte = (reader.u8() & 0x01) != 0;
            std::string text = utf16ToUtf8(reader.characters(count, highByte));
            XlsCell& cell = put(p, 0, readU16(p + 4), index);
            cell.kind = XlsCell::Kind::Text;
            cell.text = std::move(text);
            return none;
        }
        case record::Rk: {
            if (body.size() < 10)
                throw BiffError(CauseKind::DamagedWorkbook, "an RK record is too short");
            XlsCell& cell = put(p, 0, readU16(p + 4), index);
            cell.kind = XlsCell::Kind::Number;
            cell.number = decodeRk(readU32(p + 6));
            return none;
        }
        case record::MulRk: {
            if (body.size() < 6 || (body.size() - 6) % 6 != 0)
                throw BiffError(CauseKind::DamagedWorkbook, "a MULRK record has a wrong length");
            const std::size_t count = (body.size() - 6) / 6;
            for (std::size_t k = 0; k < count; ++k) {
                const char* item = p + 4 + 6 * k;
                XlsCell& cell = put(p, static_cast<int>(k), readU16(item), index);
                cell.kind = XlsCell::Kind::Number;
                cell.number = decodeRk(readU32(item + 2));
            }
            return none;
        }
        case record::Number: {
            if (body.size() < 14)
                throw BiffError(CauseKind::DamagedWorkbook, "a NUMBER record is too short");
            XlsCell& cell = put(p, 0, readU16(p + 4), index);
            cell.kind = XlsCell::Kind::Number;
            cell.number = readDouble(p + 6);
            return none;
        }
        case record::BoolErr: {
            if (body.size() < 8)
                throw BiffError(CauseKind::DamagedWorkbook, "a BOOLERR record is too short");
            XlsCell& cell = put(p, 0, readU16(p + 4), index);
            cell.kind = p[7] ? XlsCell::Kind::Error : XlsCell::Kind::Boolean;
            cell.code = static_cast<std::uint8_t>(p[6]);
            return none;
        }
        case record::Blank: {
            if (body.size() < 6)
                throw BiffError(CauseKind::DamagedWorkbook, "a BLANK record is too short");
            put(p, 0, readU16(p + 4), index);
            return none;
        }
        case record::MulBlank: {
            if (body.size() < 6 || body.size() % 2 != 0)
                throw BiffError(CauseKind::DamagedWorkbook, "a MULBLANK record has a wrong length");
            const std::size_t count = (body.size() - 6) / 2;
            for (std::size_t k = 0; k < count; ++k)
                put(p, static_cast<int>(k), readU16(p + 4 + 2 * k), index);
            return none;
        }
        case record::Formula:
            return readFormula(index);
        default:
            return none;
        }
    }

    std::pair<bool, std::map<CellKey, XlsCell>::iterator> readFormula(std::size_t index)
    {
        const std::string_view body = m_book.records[index].body(m_book.stream);
        const char* p = body.data();
        if (body.size() < 20)
            throw BiffError(CauseKind::DamagedWorkbook, "a FORMULA record is too short");
        XlsCell& cell = put(p, 0, readU16(p + 4), index);
        cell.formula = true;
        const char* value = p + 6;
        const bool number = readU16(value + 6) != 0xFFFF;
        const auto kind = static_cast<std::uint8_t>(value[0]);
        cell.noResult = !xlsFormulaHasResult(kind, number, false);
        if (number) {
            cell.kind = XlsCell::Kind::Number;
            cell.number = readDouble(value);
            return {false, m_book.cells.end()};
        }
        switch (kind) {
        case 0:
            cell.kind = XlsCell::Kind::Text;
            return {true, m_book.cells.find(CellKey{readU16(p) + 1, readU16(p + 2) + 1})};
        case 1:
            cell.kind = XlsCell::Kind::Boolean;
            cell.code = static_cast<std::uint8_t>(value[2]);
            break;
        case 2:
            cell.kind = XlsCell::Kind::Error;
            cell.code = static_cast<std::uint8_t>(value[2]);
            break;
        default:
            cell.kind = XlsCell::Kind::Text; // an empty text result
            break;
        }
        return {false, m_book.cells.end()};
    }

    XlsBook& m_book;
};

} // namespace

XlsBook readXlsBook(std::string fileBytes)
{
    XlsBook book;
    book.container = readCompoundFile(fileBytes);
    fileBytes.clear();
    CompoundEntry* stream = book.container.findStream("Workbook");
    // How Office keeps an .xlsx saved with a password to open it.
    if (!stream && book.container.findStream("EncryptionInfo") && book.container.findStream("EncryptedPackage"))
        throw BiffError(CauseKind::PasswordProtected,
                        "the workbook is encrypted (protected by a password); save it without a password first");
    if (!stream) {
        if (book.container.findStream("Book"))
            throw BiffError(CauseKind::UnsupportedWorkbookFormat,
                            "the workbook is in the Excel 5.0/95 format (BIFF5) or older, which is not supported; "
                            "save it as .xlsx or Excel 97–2003 .xls");
        // A password-protected .xlsx is kept encrypted inside a compound file.
        if (book.container.findStream("EncryptedPackage"))
            throw BiffError(CauseKind::PasswordProtected,
                            "the workbook is encrypted (protected by a password); save it without a password first");
        throw BiffError(CauseKind::NotAWorkbook, "the compound document holds no workbook");
    }
    book.streamName = stream->name;
    // The stream's bytes move out of the tree: a save writes the patched
    // stream in their place.
    book.stream = std::move(stream->data);
    book.records = splitRecords(book.stream);
    Reader(book).read();
    return book;
}

} // namespace sedilo::workbook::xls
