#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "services/text/TextArena.h"

namespace sedilo::store {

class PinyinCollator;
class SqliteStatement;

// The values of one column, compared as SQLite's ORDER BY compares them:
// NULL first, then numbers by value (an integer and a real exactly), then
// texts by the column's collation, then blobs byte by byte.
class OrderedValues {
public:
    enum class Collation { Binary, Pinyin };

    explicit OrderedValues(Collation collation);
    ~OrderedValues();
    OrderedValues(const OrderedValues&) = delete;
    OrderedValues& operator=(const OrderedValues&) = delete;

    // Keeps the value in `column` of the statement's current row.
    void append(const SqliteStatement& statement, int column);
    // Keeps a text value, as a TEXT column holds it.
    void appendText(std::string_view text);
    // Negative, 0 or positive as value `left` sorts before, with or after value `right`.
    int compare(std::size_t left, std::size_t right) const;
    // The values' indexes sorted by compare(), ascending or descending, equal
    // values in the order they were appended.
    std::vector<std::uint32_t> stableOrder(bool descending) const;

private:
    std::vector<std::uint32_t> sortedByComparing(bool descending) const;
    int compareNumbers(std::size_t left, std::size_t right) const;

    std::unique_ptr<PinyinCollator> m_pinyin;
    std::vector<std::uint8_t> m_types;
    std::vector<std::int64_t> m_integers; // an integer, or a real's bits
    TextArena m_bytes;                    // a text's or blob's bytes; empty for the others
};

} // namespace sedilo::store
