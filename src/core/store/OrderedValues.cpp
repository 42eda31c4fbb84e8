#include "store/OrderedValues.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

} // namespace sedilo::store
