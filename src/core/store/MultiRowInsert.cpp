#include "store/MultiRowInsert.h"

namespace sedilo::store {

std::string insertOfRows(const std::string& sql, std::size_t rows)
{
    const std::string values = sql.substr(sql.rfind('('));
    std::string many = sql;
    for (std::size_t row = 1; row < rows; ++row)
        many += ", " + values;
    return many;
}

} // namespace sedilo::store
