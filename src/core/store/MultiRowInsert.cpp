#include "store/MultiRowInsert.h"

namespace sedilo::store {

std::string insertOfRows(const std::string& sql, int columns, std::size_t rows)
{
    std::string values = "(";
    for (int column = 0; column < columns; ++column)
        values += column == 0 ? "?" : ", ?";
    values += ")";
    std::string many = sql;
    for (std::size_t row = 1; row < rows; ++row)
        many += ", " + values;
    return many;
}

} // namespace sedilo::store
