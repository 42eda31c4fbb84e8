#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sedilo::store {

// The select as run for a result set: "select * from T rest" also yields each
// row's rowid first, so that rows can be written back, and an ORDER BY gets
// the rowid as its last key, so that ties keep the append order.
struct SelectPlan {
    std::string sql;
    std::string table; // empty when the statement has another form: read only
};

// Given `columns`, only the rowid and those are read where "select *" names
// every column: the rows come in the same order, and sorting them moves only
// what is read.
SelectPlan planSelect(const std::string& sql, const std::vector<std::string>& columns = {});

// "select * from T order by C", "... asc" or "... desc" with C a bare name:
// the rows can be read in rowid order and sorted in memory.
struct SingleColumnOrder {
    std::string table;
    std::string column;
    bool descending = false;
};
std::optional<SingleColumnOrder> singleColumnOrder(const std::string& sql);

// ASCII letters in lower case; other bytes unchanged.
std::string lowered(std::string text);

} // namespace sedilo::store
