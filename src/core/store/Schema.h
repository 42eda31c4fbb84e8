#pragma once

#include <string>

struct sqlite3;

namespace sedilo::store {

// Creates the three tables in a database that has no tables at all (a new
// file), or else checks that every table and column the system uses is there.
// Throws DatabaseError naming what is missing.
void prepareSchema(sqlite3* db, const std::string& file);

} // namespace sedilo::store
