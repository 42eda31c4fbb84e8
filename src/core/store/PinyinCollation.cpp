#include "store/PinyinCollation.h"

#include <algorithm>
#include <cstring>

#include <sqlite3.h>
#include <unicode/ucol.h>

#include "store/SqliteStatement.h"

namespace sedilo::store {

namespace {

int compareTexts(UCollator* collator, int leftLength, const char* leftText, int rightLength, const char* rightText)
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        collator ? ucol_strcollUTF8(collator, leftText, leftLength, rightText, rightLength, &status) : UCOL_EQUAL;
    if (U_SUCCESS(status) && result != UCOL_EQUAL)
        return result == UCOL_LESS ? -1 : 1;
    // A total order keeps ORDER BY deterministic for texts ICU ranks equal.
    const int common = std::memcmp(leftText, rightText, static_cast<std::size_t>(std::min(leftLength, rightLength)));
    if (common != 0)
        return common;
    return leftLength < rightLength ? -1 : (leftLength > rightLength ? 1 : 0);
}

int comparePinyin(void* collator, int leftLength, const void* left, int rightLength, const void* right)
{
    return compareTexts(static_cast<UCollator*>(collator), leftLength, static_cast<const char*>(left), rightLength,
                        static_cast<const char*>(right));
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

PinyinCollator::PinyinCollator()
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open("zh", &status);
    if (U_FAILURE(status) && m_collator) {
        ucol_close(m_collator);
        m_collator = nullptr;
    }
}

PinyinCollator::~PinyinCollator()
{
    if (m_collator)
        ucol_close(m_collator);
}

int PinyinCollator::compare(std::string_view left, std::string_view right) const
{
    return compareTexts(m_collator, static_cast<int>(left.size()), left.data(), static_cast<int>(right.size()),
                        right.data());
}

} // namespace sedilo::store
