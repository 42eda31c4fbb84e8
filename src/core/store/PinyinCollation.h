#pragma once

#include <string>

struct sqlite3;

namespace sedilo::store {

// The collation `姓名` is declared with: Chinese names by pinyin as ICU's `zh`
// collator orders them (digits first, then Han characters, then Latin letters
// alphabetically); texts it finds equal fall back to byte order.
inline constexpr const char* kPinyinCollation = "PINYIN";

// Registers the collation on one connection. Throws DatabaseError.
void registerPinyinCollation(sqlite3* db, const std::string& file);

} // namespace sedilo::store
