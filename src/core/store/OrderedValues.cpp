#include "store/OrderedValues.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <numeric>
#include <unordered_map>

#include <sqlite3.h>

#include "store/PinyinCollation.h"
#include "store/SqliteStatement.h"

namespace sedilo::store {

namespace {

int storageRank(int type)
{
    switch (type) {
    case SQLITE_NULL: return 0;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return 1;
    case SQLITE_TEXT: return 2;
    default: return 3;
    }
}

int sign(auto left, auto right)
{
    return left < right ? -1 : (left > right ? 1 : 0);
}

int compareBytes(std::string_view left, std::string_view right)
{
    const int common = std::memcmp(left.data(), right.data(), std::min(left.size(), right.size()));
    return common != 0 ? common : sign(left.size(), right.size());
}

} // namespace

OrderedValues::OrderedValues(Collation collation)
{
    if (collation == Collation::Pinyin)
        m_pinyin = std::make_unique<PinyinCollator>();
}

OrderedValues::~OrderedValues() = default;

void OrderedValues::append(const SqliteStatement& statement, int column)
{
    const int type = statement.columnType(column);
    m_types.push_back(static_cast<std::uint8_t>(type));
    const bool number = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    const Field value = number ? statement.column(column) : Field();
    if (type == SQLITE_FLOAT)
        m_integers.push_back(std::bit_cast<std::int64_t>(std::get<double>(value)));
    else
        m_integers.push_back(number ? std::get<std::int64_t>(value) : 0);
    m_bytes.append(number || type == SQLITE_NULL ? std::string_view() : statement.columnBytes(column));
}

void OrderedValues::appendText(std::string_view text)
{
    m_types.push_back(SQLITE_TEXT);
    m_integers.push_back(0);
    m_bytes.append(text);
}

int OrderedValues::compareNumbers(std::size_t left, std::size_t right) const
{
    const bool leftReal = m_types[left] == SQLITE_FLOAT;
    const bool rightReal = m_types[right] == SQLITE_FLOAT;
    if (!leftReal && !rightReal)
        return sign(m_integers[left], m_integers[right]);
    // An 80-bit long double holds every 64-bit integer exactly, as SQLite's own comparison relies on.
    const auto number = [&](std::size_t at, bool real) {
        return real ? static_cast<long double>(std::bit_cast<double>(m_integers[at]))
                    : static_cast<long double>(m_integers[at]);
    };
    return sign(number(left, leftReal), number(right, rightReal));
}

int OrderedValues::compare(std::size_t left, std::size_t right) const
{
    const int rank = storageRank(m_types[left]);
    if (const int byRank = sign(rank, storageRank(m_types[right])); byRank != 0)
        return byRank;
    switch (rank) {
    case 0: return 0;
    case 1: return compareNumbers(left, right);
    case 2:
        if (m_pinyin)
            return m_pinyin->compare(m_bytes.at(left), m_bytes.at(right));
        return compareBytes(m_bytes.at(left), m_bytes.at(right));
    default: return compareBytes(m_bytes.at(left), m_bytes.at(right));
    }
}

std::vector<std::uint32_t> OrderedValues::sortedByComparing(bool descending) const
{
    std::vector<std::uint32_t> sorted(m_types.size());
    std::iota(sorted.begin(), sorted.end(), 0u);
    std::stable_sort(sorted.begin(), sorted.end(), [&](std::uint32_t left, std::uint32_t right) {
        const int byValue = compare(left, right);
        return descending ? byValue > 0 : byValue < 0;
    });
    return sorted;
}

// A list repeats its values: forty units, a few thousand names. Its distinct
// values are sorted, each value takes its rank, and one counting pass puts
// the values in rank order, equal ones in the order appended: the order of
// a stable sort, for a fraction of its comparisons.
std::vector<std::uint32_t> OrderedValues::stableOrder(bool descending) const
{
    const std::size_t count = m_types.size();
    struct Value {
        std::uint8_t type;
        std::int64_t integer;
        std::string_view bytes;
        bool operator==(const Value&) const = default;
    };
    struct ValueHash {
        std::size_t operator()(const Value& value) const
        {
            const std::size_t number = std::hash<std::int64_t>()(value.integer) * 31 + value.type;
            return std::hash<std::string_view>()(value.bytes) ^ number;
        }
    };
    std::unordered_map<Value, std::uint32_t, ValueHash> distinctOf;
    std::vector<std::uint32_t> firstRows; // a distinct value's first index
    std::vector<std::uint32_t> distinct(count);
    for (std::size_t at = 0; at < count; ++at) {
        const Value value{m_types[at], m_integers[at], m_bytes.at(at)};
        const auto [found, added] = distinctOf.try_emplace(value, static_cast<std::uint32_t>(firstRows.size()));
        if (added) {
            // Mostly distinct values gain nothing from ranks.
            if (firstRows.size() >= count / 2 + 1)
                return sortedByComparing(descending);
            firstRows.push_back(static_cast<std::uint32_t>(at));
        }
        distinct[at] = found->second;
    }
    std::vector<std::uint32_t> byValue(firstRows.size());
    std::iota(byValue.begin(), byValue.end(), 0u);
    std::sort(byValue.begin(), byValue.end(),
              [&](std::uint32_t left, std::uint32_t right) { return compare(firstRows[left], firstRows[right]) < 0; });
    // Distinct bytes may still compare equal (an integer and its real, a
    // collation's equal texts): those share a rank.
    std::vector<std::uint32_t> rankOf(firstRows.size());
    std::uint32_t ranks = 0;
    for (std::size_t i = 0; i < byValue.size(); ++i) {
        if (i > 0 && compare(firstRows[byValue[i - 1]], firstRows[byValue[i]]) != 0)
            ++ranks;
        rankOf[byValue[i]] = ranks;
    }
    std::vector<std::uint32_t> starts(static_cast<std::size_t>(ranks) + 2, 0);
    const auto rankAt = [&](std::size_t at) {
        const std::uint32_t rank = rankOf[distinct[at]];
        return descending ? ranks - rank : rank;
    };
    for (std::size_t at = 0; at < count; ++at)
        ++starts[rankAt(at) + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<std::uint32_t> sorted(count);
    for (std::size_t at = 0; at < count; ++at)
        sorted[starts[rankAt(at)]++] = static_cast<std::uint32_t>(at);
    return sorted;
}

} // namespace sedilo::store
