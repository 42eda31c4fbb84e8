#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/text/TextArena.h"
#include "store/OrderedValues.h"

namespace sedilo::store {

class Connection;

// The rows of a select, each as its rowid and the texts of the columns asked
// for, held end to end in one buffer: a city's list costs its text and little
// more, and whoever reads it can keep views into it instead of copies.
struct SelectedRows {
    std::string table; // T, the table whose rows the rowids name
    std::size_t columns = 0;
    std::vector<std::int64_t> rowIds; // in the select's order
    TextArena texts;
    // Where row r's texts are, when a sort put them out of reading order.
    std::vector<std::uint32_t> placeOf;

    std::size_t size() const { return rowIds.size(); }
    std::string_view text(std::size_t row, std::size_t column) const
    {
        const std::size_t place = placeOf.empty() ? row : placeOf[row];
        return texts.at(place * columns + column);
    }
};

// A "select * from T ..." read as a result set reads it (ties in append
// order) but without a result set's rows. An order by one column is sorted
// here. Throws DatabaseError when the select is not of that form or lacks
// one of the columns.
SelectedRows readSelectedRows(Connection& connection, const std::string& select,
                              const std::vector<std::string>& columns);

// Puts rows held in rowid order, without a sort yet, in the order of their
// texts in `column` as an order by that TEXT column would: ties stay in rowid
// order.
void sortByText(SelectedRows& rows, std::size_t column, OrderedValues::Collation collation, bool descending);

} // namespace sedilo::store
