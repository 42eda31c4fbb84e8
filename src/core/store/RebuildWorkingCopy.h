#pragma once

#include <cstddef>

namespace sedilo::cipher {
class NameCipher;
}

namespace sedilo::store {

class SeatingDatabase;

// Empties `jcdatatp` and appends one row per row of `jcdata`, in source order,
// with the name decrypted and 考室/座位号 left unwritten, and gives the number
// of rows. Throws DatabaseError; rows written before a failure stay.
std::size_t RebuildWorkingCopy(SeatingDatabase& database, cipher::NameCipher& names);

} // namespace sedilo::store
