#pragma once

#include <string>
#include <string_view>

struct sqlite3;
struct UCollator;

namespace sedilo::store {

// The collation `姓名` is declared with: Chinese names by pinyin as ICU's `zh`
// collator orders them (digits first, then Han characters, then Latin letters
// alphabetically); texts it finds equal fall back to byte order.
inline constexpr const char* kPinyinCollation = "PINYIN";

// Registers the collation on one connection. Throws DatabaseError.
void registerPinyinCollation(sqlite3* db, const std::string& file);

// The same order for texts held in memory. Without ICU's `zh` data it falls
// back to byte order rather than failing a listing.
class PinyinCollator {
public:
    PinyinCollator();
    ~PinyinCollator();
    PinyinCollator(const PinyinCollator&) = delete;
    PinyinCollator& operator=(const PinyinCollator&) = delete;

    // Negative, 0 or positive as `left` sorts before, with or after `right`.
    int compare(std::string_view left, std::string_view right) const;

private:
    UCollator* m_collator;
};

} // namespace sedilo::store
