#include "services/workbook/xls/XlsPatcher.h"

#include <algorithm>
#include <optional>
#include <set>
#include <unordered_map>

#include "services/workbook/xls/LittleEndian.h"

namespace sedilo::workbook::xls {

namespace {

// A ROW record with its header; DBCELL offsets start at its end.
constexpr std::size_t RowRecordLength = 24;

std::string labelSst(const char* rowColumn, std::uint16_t column, std::uint16_t xf, std::uint32_t sst)
{
    std::string body(rowColumn, 2);
    appendU16(body, column);
    appendU16(body, xf);
    appendU32(body, sst);
    std::string out;
    appendRecord(out, record::LabelSst, body);
    return out;
}

// The records that replace a MULRK or MULBLANK record some of whose cells
// were edited: runs of untouched cells stay MULRK/MULBLANK (or RK/BLANK when
// alone), edited cells become LABELSST.
std::string splitMultiple(std::string_view body, bool rk, const std::map<int, std::uint32_t>& edited)
{
    const std::size_t width = rk ? 6 : 2;
    const std::size_t count = (body.size() - 6) / width;
    const std::uint16_t first = readU16(body.data() + 2);
    std::string out;
    std::size_t runStart = 0;
    auto flushRun = [&](std::size_t runEnd) {
        if (runEnd == runStart)
            return;
        std::string run(body.data(), 2);
        appendU16(run, static_cast<std::uint16_t>(first + runStart));
        run.append(body.substr(4 + width * runStart, width * (runEnd - runStart)));
        if (runEnd - runStart == 1) {
            appendRecord(out, rk ? record::Rk : record::Blank, run);
        } else {
            appendU16(run, static_cast<std::uint16_t>(first + runEnd - 1));
            appendRecord(out, rk ? record::MulRk : record::MulBlank, run);
        }
    };
    for (std::size_t k = 0; k < count; ++k) {
        const auto edit = edited.find(static_cast<int>(k));
        if (edit == edited.end())
            continue;
        flushRun(k);
        out += labelSst(body.data(), static_cast<std::uint16_t>(first + k), readU16(body.data() + 4 + width * k),
                        edit->second);
        runStart = k + 1;
    }
    flushRun(count);
    return out;
}

class Patcher {
public:
    Patcher(const XlsBook& book, const std::map<CellKey, std::string>& edits) : m_book(book), m_edits(edits) {}

    std::string run()
    {
        planCells();
        layOut();
        fixPositions();
        return std::move(m_out);
    }

private:
    std::uint32_t sharedIndex(const std::string& text)
    {
        const auto [it, inserted] = m_appendedIndex.try_emplace(
            text, static_cast<std::uint32_t>(m_book.sharedStrings.strings.size() + m_appended.size()));
        if (inserted)
            m_appended.push_back(makeSharedString(text));
        return it->second;
    }

    // The cell a FORMULA record's tokens stand in for: a shared, array or
    // table formula names the cell that holds its definition.
    static std::optional<CellKey> definingCell(std::string_view formula)
    {
        if (formula.size() < 27)
            return std::nullopt;
        const auto token = static_cast<std::uint8_t>(formula[22]);
        if (token != 0x01 && token != 0x02) // PtgExp, PtgTbl
            return std::nullopt;
        return CellKey{readU16(formula.data() + 23) + 1, readU16(formula.data() + 25) + 1};
    }

    // A cell whose formula lost its definition keeps its stored result as a
    // plain value: the definition (SHRFMLA, ARRAY, TABLE) went with the
    // formula of the cell that now holds a text.
    void keepResultsOfOrphans(const std::set<CellKey>& definitions)
    {
        if (definitions.empty())
            return;
        for (const auto& [key, cell] : m_book.cells) {
            if (!cell.formula || m_edits.contains(key) || m_replacements.contains(cell.record))
                continue;
            const BiffRecord& rec = m_book.records[cell.record];
            const std::string_view body = rec.body(m_book.stream);
            const auto defining = definingCell(body);
            if (!defining || !definitions.contains(*defining))
                continue;
            std::string value(body.data(), 6); // row, column, XF
            std::uint16_t type = record::Blank;
            if (cell.kind == XlsCell::Kind::Number) {
                type = record::Number;
                value.append(body.substr(6, 8));
            } else if (cell.kind == XlsCell::Kind::Boolean || cell.kind == XlsCell::Kind::Error) {
                type = record::BoolErr;
                value += static_cast<char>(cell.code);
                value += static_cast<char>(cell.kind == XlsCell::Kind::Error ? 1 : 0);
            } else if (!cell.text.empty()) {
                type = record::LabelSst;
                appendU32(value, sharedIndex(cell.text));
                ++m_newReferences;
            }
            std::string out;
            appendRecord(out, type, value);
            m_replacements[cell.record] = std::move(out);
        }
    }

    // Decides the replacement of every record holding an edited cell.
    void planCells()
    {
        std::map<std::size_t, std::map<int, std::uint32_t>> byRecord; // record -> column offset -> string
        std::set<CellKey> replacedFormulas;
        for (const auto& [key, text] : m_edits) {
            const auto cell = m_book.cells.find(key);
            if (cell == m_book.cells.end())
                continue;
            if (cell->second.formula)
                replacedFormulas.insert(key);
            const BiffRecord& rec = m_book.records[cell->second.record];
            if (rec.type == record::LabelSst && cell->second.text == text)
                continue;
            const int firstColumn = readU16(m_book.stream.data() + rec.bodyOffset() + 2) + 1;
            byRecord[cell->second.record][key.second - firstColumn] = sharedIndex(text);
        }
        for (const auto& [index, columns] : byRecord) {
            const BiffRecord& rec = m_book.records[index];
            const std::string_view body = rec.body(m_book.stream);
            const std::uint32_t sst = columns.begin()->second;
            switch (rec.type) {
            case record::LabelSst: {
                std::string copy(m_book.stream, rec.offset, 4 + rec.size);
                writeU32(copy.data() + 4 + 6, sst);
                m_replacements[index] = std::move(copy);
                break;
            }
            case record::MulRk:
            case record::MulBlank:
                m_replacements[index] = splitMultiple(body, rec.type == record::MulRk, columns);
                m_newReferences += static_cast<std::uint32_t>(columns.size());
                break;
            default:
                m_replacements[index] = labelSst(body.data(), readU16(body.data() + 2), readU16(body.data() + 4), sst);
                ++m_newReferences;
                break;
            }
        }
        keepResultsOfOrphans(replacedFormulas);
    }

    // Records that belong to the cell record before them and go with it when
    // it is replaced: continuations, a formula's text result and definitions.
    static bool belongsToCell(std::uint16_t type)
    {
        return type == record::Continue || type == record::String || type == record::ShrFmla ||
               type == record::Array || type == record::Table;
    }

    void writeSharedStrings()
    {
        const std::uint64_t total = std::uint64_t{m_book.sharedStrings.totalReferences} + m_newReferences;
        m_out += serializeSharedStrings(m_book.sharedStrings.strings, m_appended,
                                        static_cast<std::uint32_t>(std::min<std::uint64_t>(total, 0xFFFFFFFFu)),
                                        m_out.size());
    }

    void layOut()
    {
        const std::vector<BiffRecord>& records = m_book.records;
        m_newStart.assign(records.size(), 0);
        m_verbatim.assign(records.size(), false);
        m_out.reserve(m_book.stream.size() + 64 * m_appended.size() + 1024);
        const bool addTable = m_book.sstRecord == NoRecord && !m_appended.empty();
        for (std::size_t i = 0; i < records.size(); ++i) {
            m_newStart[i] = m_out.size();
            if (i == m_book.sstRecord) {
                writeSharedStrings();
                for (; i + 1 < m_book.sstEnd; ++i)
                    m_newStart[i + 1] = m_newStart[m_book.sstRecord];
                continue;
            }
            if (i == m_book.extSstRecord)
                continue;
            if (addTable && i == m_book.globalsEof) {
                writeSharedStrings();
                m_newStart[i] = m_out.size();
            }
            if (const auto replacement = m_replacements.find(i); replacement != m_replacements.end()) {
                m_out += replacement->second;
                const bool formula = records[i].type == record::Formula;
                for (; i + 1 < records.size() && (formula ? belongsToCell(records[i + 1].type)
                                                          : records[i + 1].type == record::Continue);
                     ++i)
                    m_newStart[i + 1] = m_out.size();
                continue;
            }
            m_verbatim[i] = true;
            m_out.append(m_book.stream, records[i].offset, 4 + records[i].size);
        }
        if (!records.empty())
            m_out.append(m_book.stream, records.back().end());
    }

    // The new position of what stood at stream position `old`.
    std::int64_t mapPosition(std::int64_t old) const
    {
        const std::vector<BiffRecord>& records = m_book.records;
        if (old < 0)
            return old;
        auto it = std::upper_bound(records.begin(), records.end(), static_cast<std::size_t>(old),
                                   [](std::size_t p, const BiffRecord& rec) { return p < rec.offset; });
        if (it == records.begin())
            return old;
        const std::size_t i = static_cast<std::size_t>(it - records.begin()) - 1;
        if (static_cast<std::size_t>(old) >= records[i].end())
            return old + static_cast<std::int64_t>(m_out.size()) - static_cast<std::int64_t>(m_book.stream.size());
        const std::int64_t inside = m_verbatim[i] ? old - static_cast<std::int64_t>(records[i].offset) : 0;
        return static_cast<std::int64_t>(m_newStart[i]) + inside;
    }

    void patchU32(std::size_t at, std::int64_t value)
    {
        if (value >= 0 && value <= 0xFFFFFFFFll)
            writeU32(m_out.data() + at, static_cast<std::uint32_t>(value));
    }

    void fixPositions()
    {
        const std::vector<BiffRecord>& records = m_book.records;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (!m_verbatim[i])
                continue;
            const BiffRecord& rec = records[i];
            const char* oldBody = m_book.stream.data() + rec.bodyOffset();
            const std::size_t body = m_newStart[i] + 4;
            if (rec.type == record::BoundSheet && rec.size >= 4) {
                patchU32(body, mapPosition(readU32(oldBody)));
            } else if (rec.type == record::Index && rec.size >= 16) {
                for (std::size_t at = 12; at + 4 <= rec.size; at += 4)
                    patchU32(body + at, mapPosition(readU32(oldBody + at)));
            } else if (rec.type == record::DbCell && rec.size >= 4) {
                fixDbCell(i);
            }
        }
    }

    // DBCELL offsets are relative: to the block's first ROW record, then
    // from the end of that record to each row's first cell, then cell to cell.
    void fixDbCell(std::size_t index)
    {
        const BiffRecord& rec = m_book.records[index];
        const char* oldBody = m_book.stream.data() + rec.bodyOffset();
        char* newBody = m_out.data() + m_newStart[index] + 4;
        const std::int64_t back = readU32(oldBody);
        if (back == 0 || back > static_cast<std::int64_t>(rec.offset))
            return;
        const std::int64_t oldRow = static_cast<std::int64_t>(rec.offset) - back;
        const std::int64_t newRow = mapPosition(oldRow);
        const std::int64_t newBack = static_cast<std::int64_t>(m_newStart[index]) - newRow;
        if (newBack <= 0 || newBack > 0xFFFFFFFFll)
            return;
        writeU32(newBody, static_cast<std::uint32_t>(newBack));
        std::int64_t oldCell = oldRow + static_cast<std::int64_t>(RowRecordLength);
        std::int64_t newCell = newRow + static_cast<std::int64_t>(RowRecordLength);
        for (std::size_t at = 4; at + 2 <= rec.size; at += 2) {
            const std::int64_t oldNext = oldCell + readU16(oldBody + at);
            const std::int64_t newNext = mapPosition(oldNext);
            const std::int64_t step = newNext - newCell;
            if (step >= 0 && step <= 0xFFFF)
                writeU16(newBody + at, static_cast<std::uint16_t>(step));
            oldCell = oldNext;
            newCell = newNext;
        }
    }

    const XlsBook& m_book;
    const std::map<CellKey, std::string>& m_edits;
    std::vector<SharedString> m_appended;
    std::unordered_map<std::string, std::uint32_t> m_appendedIndex;
    std::map<std::size_t, std::string> m_replacements;
    std::uint32_t m_newReferences = 0;
    std::string m_out;
    std::vector<std::size_t> m_newStart;
    std::vector<bool> m_verbatim;
};

} // namespace

std::string patchWorkbookStream(const XlsBook& book, const std::map<CellKey, std::string>& edits)
{
    return Patcher(book, edits).run();
}

} // namespace sedilo::workbook::xls
