#include "services/workbook/XlsxSheetEditor.h"

#include <algorithm>
#include <limits>
#include <set>
#include <string_view>
#include <vector>

#include "services/workbook/CellReference.h"
#include "services/workbook/XlsxText.h"
#include "services/workbook/XmlSpan.h"

namespace sedilo::workbook {

namespace {

constexpr std::uint64_t kLast = std::numeric_limits<std::uint64_t>::max();

struct Patch {
    std::size_t position;
    std::size_t erase;
    std::uint64_t order; // among patches at one position
    std::string text;
};

// The attributes of a start tag, each with a leading space, without those
// that describe the old value: its type `t`, and the metadata of a formula's
// result (`cm`, `vm`).
std::string attributesWithoutType(std::string_view tag)
{
    std::string kept;
    std::size_t pos = 1;
    while (pos < tag.size() && tag[pos] != ' ' && tag[pos] != '\t' && tag[pos] != '\n' && tag[pos] != '\r' &&
           tag[pos] != '>' && tag[pos] != '/')
        ++pos;
    while (pos < tag.size()) {
        while (pos < tag.size() && (tag[pos] == ' ' || tag[pos] == '\t' || tag[pos] == '\n' || tag[pos] == '\r'))
            ++pos;
        if (pos >= tag.size() || tag[pos] == '>' || tag[pos] == '/')
            break;
        const std::size_t nameStart = pos;
        const std::size_t equals = tag.find('=', pos);
        if (equals == std::string_view::npos)
            break;
        const std::size_t quote = tag.find_first_of("\"'", equals);
        if (quote == std::string_view::npos)
            break;
        const std::size_t close = tag.find(tag[quote], quote + 1);
        if (close == std::string_view::npos)
            break;
        std::string_view name = tag.substr(nameStart, equals - nameStart);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\n' || name.back() == '\r'))
            name.remove_suffix(1);
        if (name != "t" && name != "cm" && name != "vm") {
            kept += ' ';
            kept.append(tag.substr(nameStart, close + 1 - nameStart));
        }
        pos = close + 1;
    }
    return kept;
}

// Appended piece by piece: a city's rooms make a hundred thousand of these.
std::string cellElement(std::string_view prefix, const std::string& attributes, const std::string& text)
{
    std::string element;
    const auto tag = [&](std::string_view open, std::string_view name) {
        element.append(open).append(prefix).append(name);
    };
    tag("<", "c");
    element.append(attributes);
    if (text.empty())
        return element.append("/>");
    const std::string encoded = encodeStoredText(text);
    element.reserve(element.size() + encoded.size() + 6 * prefix.size() + 64);
    element.append(" t=\"inlineStr\">");
    tag("<", "is>");
    tag("<", "t");
    element.append(needsSpacePreserve(text) ? " xml:space=\"preserve\">" : ">");
    element.append(encoded);
    tag("</", "t>");
    tag("</", "is>");
    tag("</", "c>");
    return element;
}

class Splicer {
public:
    Splicer(const std::string& xml, const SheetIndex& index) : m_xml(xml), m_index(index) {}

    std::string run(const std::map<std::uint64_t, std::string>& edits)
    {
        std::map<int, std::vector<std::pair<int, const std::string*>>> newCellsByRow;
        std::set<long long> replacedMasters;
        for (const auto& [key, text] : edits) {
            const int row = static_cast<int>(key >> 16);
            const int column = static_cast<int>(key & 0xFFFF);
            if (const IndexedCell* cell = m_index.find(row, column)) {
                replaceCell(*cell, key, text);
                if (cell->sharedMaster)
                    replacedMasters.insert(cell->sharedGroup);
            } else if (!text.empty()) {
                newCellsByRow[row].emplace_back(column, &text);
            }
        }
        for (const auto& [row, cells] : newCellsByRow)
            addCells(row, cells);
        keepResultsOfOrphans(replacedMasters, edits);
        return apply();
    }

private:
    // A shared formula's text stands only in its master cell. Once the master
    // holds a value, the other cells of its group would name a formula that
    // is gone; they keep their stored results as plain values instead.
    void keepResultsOfOrphans(const std::set<long long>& groups, const std::map<std::uint64_t, std::string>& edits)
    {
        if (groups.empty())
            return;
        for (const IndexedCell& cell : m_index.cells) {
            const std::uint64_t key = cellKey(cell.row, cell.column);
            if (cell.formula && !cell.sharedMaster && groups.contains(cell.sharedGroup) && !edits.contains(key))
                m_patches.push_back({cell.formulaBegin, cell.formulaEnd - cell.formulaBegin, key, {}});
        }
    }

    void replaceCell(const IndexedCell& cell, std::uint64_t key, const std::string& text)
    {
        const std::string_view element(m_xml.data() + cell.begin, cell.end - cell.begin);
        const std::size_t tagEnd = startTagEnd(element, 0);
        const std::string attributes = attributesWithoutType(element.substr(0, tagEnd));
        m_patches.push_back(
            {cell.begin, cell.end - cell.begin, key, cellElement(elementPrefix(m_xml, cell.begin), attributes, text)});
    }

    std::string newCells(int row, const std::vector<std::pair<int, const std::string*>>& cells,
                         const std::string& style) const
    {
        std::string text;
        for (const auto& [column, value] : cells) {
            std::string attributes = " r=\"" + cellName(row, column) + "\"";
            if (!style.empty())
                attributes += " s=\"" + style + "\"";
            text += cellElement(m_index.prefix, attributes, *value);
        }
        return text;
    }

    void addCells(int row, const std::vector<std::pair<int, const std::string*>>& cells)
    {
        const IndexedRow* existing = m_index.findRow(row);
        if (!existing) {
            const std::string& p = m_index.prefix;
            const std::string element = "<" + p + "row r=\"" + std::to_string(row) + "\">" + newCells(row, cells, {}) +
                                        "</" + p + "row>";
            const auto next = std::find_if(m_index.rows.begin(), m_index.rows.end(),
                                           [&](const IndexedRow& r) { return r.row > row; });
            if (next != m_index.rows.end())
                m_patches.push_back({next->begin, 0, cellKey(row, 0), element});
            else
                insertInto(m_index.sheetDataContentEnd, m_index.sheetDataSelfClosing, "sheetData", cellKey(row, 0),
                           element);
            return;
        }
        if (existing->selfClosing) {
            insertInto(existing->contentEnd, true, "row", cellKey(row, 0), newCells(row, cells, existing->cellStyle));
            return;
        }
        for (const auto& cell : cells) {
            // Before the first cell of the row that lies to its right.
            std::size_t position = existing->contentEnd;
            for (const IndexedCell& other : m_index.cells)
                if (other.row == row && other.column > cell.first && other.begin > existing->begin &&
                    other.begin < existing->contentEnd) {
                    position = std::min(position, other.begin);
                }
            m_patches.push_back({position, 0, cellKey(row, cell.first), newCells(row, {cell}, existing->cellStyle)});
        }
    }

    // Adds content before the end tag of an element, opening an empty one ("<x/>").
    void insertInto(std::size_t contentEnd, bool selfClosing, const std::string& name, std::uint64_t order,
                    std::string content)
    {
        if (!selfClosing) {
            m_patches.push_back({contentEnd, 0, order, std::move(content)});
            return;
        }
        if (m_opened.insert(contentEnd).second) {
            m_patches.push_back({contentEnd, 2, 0, ">"});
            m_patches.push_back({contentEnd + 2, 0, kLast, "</" + m_index.prefix + name + ">"});
        }
        m_patches.push_back({contentEnd + 2, 0, order, std::move(content)});
    }

    std::string apply()
    {
        std::sort(m_patches.begin(), m_patches.end(), [](const Patch& a, const Patch& b) {
            return a.position != b.position ? a.position < b.position : a.order < b.order;
        });
        std::string out;
        std::size_t extra = 0;
        for (const Patch& patch : m_patches)
            extra += patch.text.size();
        out.reserve(m_xml.size() + extra);
        std::size_t cursor = 0;
        for (const Patch& patch : m_patches) {
            if (patch.position < cursor)
                continue; // only overlapping elements of a damaged part get here
            out.append(m_xml, cursor, patch.position - cursor);
            out += patch.text;
            cursor = patch.position + patch.erase;
        }
        out.append(m_xml, cursor, std::string::npos);
        return out;
    }

    const std::string& m_xml;
    const SheetIndex& m_index;
    std::vector<Patch> m_patches;
    std::set<std::size_t> m_opened;
};

} // namespace

std::string spliceEditedCells(const std::string& xml, const SheetIndex& index,
                              const std::map<std::uint64_t, std::string>& edits)
{
    return Splicer(xml, index).run(edits);
}

} // namespace sedilo::workbook
