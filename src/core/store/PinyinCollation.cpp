#include "store/PinyinCollation.h"

#include <algorithm>
#include <cstring>

#include <sqlite3.h>
#include <unicode/ucol.h>

#include "store/SqliteStatement.h"

namespace sedilo::store {

namespace {

int comparePinyin(void* collator, int leftLength, const void* left, int rightLength, const void* right)
{
    const auto* leftText = static_cast<const char*>(left);
    const auto* rightText = static_cast<const char*>(right);
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        ucol_strcollUTF8(static_cast<UCollator*>(collator), leftText, leftLength, rightText, rightLength, &status);
    if (U_SUCCESS(status) && result != UCOL_EQUAL)
        return result == UCOL_LESS ? -1 : 1;
    // A total order keeps ORDER BY deterministic for texts ICU ranks equal.
    const int common = std::memcmp(leftText, rightText, static_cast<std::size_t>(std::min(leftLength, rightLength)));
    if (common != 0)
        return common;
    return leftLength < rightLength ? -1 : (leftLength > rightLength ? 1 : 0);
}

void closeCollator(void* collator)
{
    ucol_close(static_cast<UCollator*>(collator));
}

} // namespace

void registerPinyinCollation(sqlite3* db, const std::string& file)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("zh", &status);
    if (U_FAILURE(status) || !collator) {
        if (collator)
            ucol_close(collator);
        throw DatabaseError(file, std::string("the pinyin collation is unavailable (") + u_errorName(status) + ")");
    }
    const int code = sqlite3_create_collation_v2(db, kPinyinCollation, SQLITE_UTF8, collator, comparePinyin, closeCollator);
    if (code != SQLITE_OK) {
        ucol_close(collator); // SQLite calls the destructor only after a successful registration
        throw sqliteFailure(db, file, code, "registering the pinyin collation");
    }
}

} // namespace sedilo::store
