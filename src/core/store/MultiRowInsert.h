#pragma once

#include <cstddef>
#include <string>

namespace sedilo::store {

// Rows written by one insert where a city's rows are written. Each run of a
// statement has a cost of its own: a tenth of a city's import when every
// row was one.
inline constexpr std::size_t kRowsPerInsert = 64;

// `sql`, an insert of one row ending in its "values (?, ...)", made into the
// insert of `rows` rows.
std::string insertOfRows(const std::string& sql, std::size_t rows);

} // namespace sedilo::store
