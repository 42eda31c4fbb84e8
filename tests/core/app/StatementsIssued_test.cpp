#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/Session.h"
#include "app/Startup.h"
#include "app/TabGuard.h"
#include "arrange/GenerateArrangement.h"
#include "basedata/BaseDataImport.h"
#include "basedata/ClearBaseData.h"
#include "export/QueryExport.h"
#include "rooms/RoomEditor.h"
#include "rooms/RoomPersistence.h"
#include "store/RebuildWorkingCopy.h"
#include "store/Statements.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

using namespace sedilo;

namespace {

// Every statement the program may issue, exactly as issued.
const std::set<std::string> kAllowed = {
    store::sql::kDeleteBaseData,   store::sql::kDeleteWorkingCopy, store::sql::kSelectBaseData,
    store::sql::kInsertBaseData,   store::sql::kReadBaseData,      store::sql::kInsertWorkingCopy,
    store::sql::kOrderByName,      store::sql::kOrderByNumber,
    store::sql::kOrderByScoreDesc, store::sql::kOrderByScoreAsc,   store::sql::kOrderByRandom,
    store::sql::kOrderByRoomDesc,  store::sql::kOrderByUnit,       store::sql::kDeleteRooms,
    store::sql::kSelectRooms,
};

} // namespace

// One whole session through the core operations, every ordering included: the
// statements issued are only those of the list, and every one of them is used.
TEST(StatementsIssued, AWholeSessionIssuesExactlyTheListedStatements)
{
    test::TempDir dir;
    test::ScriptedPrompt prompt;
    session::Session session(dir.file("data.mdb"), prompt);
    std::vector<std::string> issued;
    session.database.setStatementLog([&](const std::string& sql) { issued.push_back(sql); });

    prompt.answerNext(PromptAnswer::Yes);
    session::RunStartup(session.database, prompt, session.cipher);

    session.baseData.sjlj = test::dataPath("demo-examinees.xlsx");
    ASSERT_TRUE(basedata::ImportBaseData(session.baseData, session.database, session.cipher, prompt, {7}).succeeded);

    auto& rooms = session.rooms;
    rooms.ksmbpath = test::dataPath("ksmb.xlsx");
    for (int room = 0; room < 3; ++room)
        rooms::AddRoom(rooms, prompt); // 90 seats for the demo's 70 examinees
    rooms::SaveRooms(rooms, session.database, prompt);
    prompt.answerNext(PromptAnswer::Yes);
    rooms::ClearRooms(rooms, prompt);
    rooms::LoadRooms(rooms, session.database, prompt);

    session::TabGuard guard(session.database, rooms.ksgrid, rooms.options, prompt, session.generate.ksscpro,
                            session.exporting.cxdcscpro);
    session.generate.ksoutpath = dir.folderText();
    for (int box = 0; box < 5; ++box) {
        if (!rooms.options.orderingBox(box))
            rooms.options.clickOrderingBox(box);
        const auto result = arrange::GenerateArrangement(session.generate, rooms, session.database, session.cipher,
                                                         prompt, {1});
        ASSERT_EQ(result.outcome, arrange::GenerationResult::Outcome::Complete) << TechnicalSummary(result.cause);
        EXPECT_EQ(guard.TabChanged(session::kExportTabIndex), std::nullopt);
    }

    session.exporting.byUnit = true;
    EXPECT_GT(exporting::ExportQueryWorkbooks(session.exporting, dir.folderText(), session.database, prompt), 0);
    session.exporting.byUnit = false;
    EXPECT_EQ(exporting::ExportQueryWorkbooks(session.exporting, dir.folderText(), session.database, prompt), 1);
    basedata::ClearBaseData(session.baseData, session.database, prompt);

    for (const auto& sql : issued)
        EXPECT_TRUE(kAllowed.count(sql)) << "unlisted statement: \"" << sql << "\"";
    for (const auto& sql : kAllowed)
        EXPECT_NE(std::find(issued.begin(), issued.end(), sql), issued.end()) << "never issued: \"" << sql << "\"";
    for (const auto& box : prompt.shown())
        EXPECT_NE(box.style, PromptStyle::Error) << box.text << " / " << box.detail;
}
