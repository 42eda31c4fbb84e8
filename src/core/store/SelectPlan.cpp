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

} // namespace sedilo::store
