#include <gtest/gtest.h>

#include <cerrno>
#include <regex>
#include <set>

#include "services/failure/CauseCatalogue.h"
#include "services/failure/FileErrorCause.h"
#include "support/TempDir.h"

namespace sedilo {
namespace {

Cause everySubject(CauseKind kind)
{
    return {.kind = kind, .file = "/考试/F.xlsx", .row = 3, .column = 2, .name = "名N", .room = "第1考室",
            .unit = "一班", .detail = "technical detail"};
}

// Walks the kinds from the first until a value past the last, which gets the
// same fallback as Unknown.
TEST(CauseCatalogue, EveryKindHasAChineseSentenceWithoutTechnicalDetail)
{
    const std::string fallback = ChineseCause(everySubject(static_cast<CauseKind>(100000)));
    int kinds = 0;
    for (int value = 0;; ++value) {
        const Cause cause = everySubject(static_cast<CauseKind>(value));
        const std::string text = ChineseCause(cause);
        if (value > 0 && text == fallback)
            break;
        ++kinds;
        SCOPED_TRACE(text);
        EXPECT_EQ(text.rfind("原因：", 0), 0u);
        EXPECT_EQ(text.find("technical"), std::string::npos);
        std::string rest = text;
        for (const std::string& subject : {cause.file, cause.name})
            for (auto at = rest.find(subject); at != std::string::npos; at = rest.find(subject))
                rest.erase(at, subject.size());
        // Only the names of file formats and programs remain in Latin letters.
        const std::regex english("[A-Za-z]{2,}");
        for (std::sregex_iterator word(rest.begin(), rest.end(), english), end; word != end; ++word)
        {
            const std::set<std::string> allowed{"Excel", "xlsx", "Tab", "xdg", "open"};
            EXPECT_TRUE(allowed.count(word->str())) << word->str();
        }
    }
    EXPECT_GT(kinds, static_cast<int>(CauseKind::NoHomeFolder));

    EXPECT_NE(ChineseCause(everySubject(CauseKind::ErrorCell)).find("“/考试/F.xlsx”第3行B列（B3）"), std::string::npos);
    EXPECT_NE(ChineseCause(everySubject(CauseKind::FormulaWithoutResult)).find("第3行B列"), std::string::npos);
    EXPECT_NE(ChineseCause(everySubject(CauseKind::NotAFileName)).find("“名N”"), std::string::npos);
    EXPECT_NE(ChineseCause(everySubject(CauseKind::DuplicateRoom)).find("“第1考室”"), std::string::npos);
    const std::string collision = ChineseCause(everySubject(CauseKind::UnitCollidesWithRoom));
    EXPECT_NE(collision.find("“一班”"), std::string::npos);
    EXPECT_NE(collision.find("“第1考室”"), std::string::npos);
    EXPECT_NE(ChineseCause(everySubject(CauseKind::DatabaseInUse)).find("“/考试/F.xlsx”"), std::string::npos);
    EXPECT_EQ(WithCause("基础数据导入失败！", everySubject(CauseKind::EmptySheet)),
              "基础数据导入失败！\n原因：工作簿“/考试/F.xlsx”的第一个工作表是空的。");
}

TEST(FileErrorCause, NamesTheFolderForAMissingOrReadOnlyFolderAndTheFileOtherwise)
{
    test::TempDir dir;
    const std::string inMissing = dir.file("missing/a.xlsx");
    Cause cause = FileErrorCause(ENOENT, inMissing, FileAccess::Write, "d");
    EXPECT_EQ(cause.kind, CauseKind::FolderMissing);
    EXPECT_EQ(cause.file, dir.file("missing"));

    EXPECT_EQ(FileErrorCause(ENOENT, dir.file("a.xlsx"), FileAccess::Read, "d").kind, CauseKind::FileMissing);
    cause = FileErrorCause(EACCES, dir.file("new.xlsx"), FileAccess::Write, "d");
    EXPECT_EQ(cause.kind, CauseKind::FolderNotWritable);
    EXPECT_EQ(cause.file, dir.path().string());
    cause = FileErrorCause(ENOSPC, dir.file("a.xlsx"), FileAccess::Write, "No space left on device");
    EXPECT_EQ(cause.kind, CauseKind::DiskFull);
    EXPECT_EQ(cause.file, dir.file("a.xlsx"));
    cause = FileErrorCause(ENAMETOOLONG, dir.file("很长.xlsx"), FileAccess::Write, "d");
    EXPECT_EQ(cause.kind, CauseKind::NotAFileName);
    EXPECT_EQ(cause.name, "很长.xlsx");
}

} // namespace
} // namespace sedilo
