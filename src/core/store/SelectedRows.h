#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sedilo::store {

class Connection;

// A "select * from T ..." read as a result set reads it (ties in append
// order) but without a result set's rows: each row goes to `visit` with its
// rowid and the texts of `columns`, in the select's order. An order by one
// column is sorted here, holding the texts of `columns` and the key while
// it sorts. Returns T, the table whose rows the rowids name. The texts last
// until `visit` returns. Throws DatabaseError when the select is not of
// that form or lacks one of the columns.
std::string forEachSelectedRow(
    Connection& connection, const std::string& select, const std::vector<std::string>& columns,
    const std::function<void(std::int64_t rowId, const std::vector<std::string_view>& texts)>& visit);

} // namespace sedilo::store
