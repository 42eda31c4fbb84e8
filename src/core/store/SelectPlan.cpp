#include "store/SelectPlan.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "store/SqliteStatement.h"

namespace sedilo::store {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

SelectPlan planSelect(const std::string& sql, const std::vector<std::string>& columns)
{
    static constexpr std::string_view kPrefix = "select * from ";
    const std::string lower = lowered(sql);
    const auto start = lower.find_first_not_of(' ');
    if (start == std::string::npos || lower.compare(start, kPrefix.size(), kPrefix) != 0)
        return {sql, {}};
    const auto tableStart = start + kPrefix.size();
    auto tableEnd = tableStart;
    while (tableEnd < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[tableEnd])) || sql[tableEnd] == '_'))
        ++tableEnd;
    const std::string table = sql.substr(tableStart, tableEnd - tableStart);
    std::string rest = sql.substr(tableEnd);
    if (table.empty() || (!rest.empty() && rest.front() != ' '))
        return {sql, {}};
    const std::string lowerRest = lowered(rest);
    if (lowerRest.find(" order by ") != std::string::npos && lowerRest.find(" limit ") == std::string::npos
        && lowerRest.find(';') == std::string::npos) {
        while (!rest.empty() && rest.back() == ' ')
            rest.pop_back();
        rest += ", _rowid_";
    }
    std::string read = "_rowid_";
    if (columns.empty())
        read += ", *";
    for (const std::string& column : columns)
        read += ", " + quotedName(column);
    return {"select " + read + " from " + table + rest, table};
}

std::optional<SingleColumnOrder> singleColumnOrder(const std::string& sql)
{
    // Words split at single spaces; anything else (quotes, commas, COLLATE,
    // a second key, LIMIT) is left to SQLite.
    std::vector<std::string> words;
    for (std::size_t at = 0; at <= sql.size();) {
        const std::size_t end = std::min(sql.find(' ', at), sql.size());
        if (end > at)
            words.push_back(sql.substr(at, end - at));
        at = end + 1;
    }
    const auto bare = [](const std::string& name) {
        return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
            return std::isalnum(c) || c == '_' || c >= 0x80;
        }) && !std::isdigit(static_cast<unsigned char>(name.front()));
    };
    if (words.size() < 7 || words.size() > 8 || lowered(words[0]) != "select" || words[1] != "*"
        || lowered(words[2]) != "from" || lowered(words[4]) != "order" || lowered(words[5]) != "by"
        || !bare(words[3]) || !bare(words[6]))
        return std::nullopt;
    SingleColumnOrder order{words[3], words[6], false};
    if (words.size() == 8) {
        const std::string direction = lowered(words[7]);
        if (direction != "asc" && direction != "desc")
            return std::nullopt;
        order.descending = direction == "desc";
    }
    // A keyword in the name's place is SQL, not a column.
    for (const char* keyword : {"asc", "desc", "limit", "collate", "rowid", "_rowid_", "oid"}) {
        if (lowered(order.column) == keyword)
            return std::nullopt;
    }
    return order;
}

} // namespace sedilo::store
