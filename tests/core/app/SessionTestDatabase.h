#pragma once

#include <string>
#include <vector>

#include "core/store/StoreTestSupport.h"
#include "store/SeatingDatabase.h"
#include "store/Statements.h"
#include "support/TempDir.h"

namespace sedilo::test {

// A seating database in a fresh folder, seeded through the store's own
// cursor, with every statement issued after seeding recorded.
class SessionTestDatabase {
public:
    SessionTestDatabase() : database(folder.file("data.mdb"))
    {
        database.setStatementLog([this](const std::string& sql) { statements.push_back(sql); });
    }

    // Base data: one row per (exam number, score).
    void addBaseData(const std::vector<std::pair<std::string, double>>& examinees)
    {
        append(store::sql::kSelectBaseData, examinees, {});
    }

    // Working copy: one row per (exam number, score), with the room given for each.
    void addWorkingCopy(const std::vector<std::pair<std::string, double>>& examinees,
                        const std::vector<std::string>& rooms)
    {
        append(store::sql::kSelectWorkingCopy, examinees, rooms);
    }

    std::vector<std::string> onDisk(const std::string& sql) const { return rowsOnDisk(database.filePath(), sql); }

    TempDir folder;
    store::SeatingDatabase database;
    std::vector<std::string> statements;

private:
    void append(const char* select, const std::vector<std::pair<std::string, double>>& examinees,
                const std::vector<std::string>& rooms)
    {
        database.replaceSharedRecordset();
        database.OpenDataConnection();
        auto& recordset = database.SharedRecordset();
        recordset.open(select, database.SharedConnection());
        for (std::size_t i = 0; i < examinees.size(); ++i) {
            std::vector<std::pair<std::string, store::Field>> values{
                {"姓名", std::string("考生") + std::to_string(i + 1)},
                {"考号", examinees[i].first},
                {"单位", std::string("一中")},
                {"成绩", examinees[i].second},
                {"随机号", static_cast<double>(i + 1)}};
            if (i < rooms.size())
                values.emplace_back("考室", rooms[i]);
            appendRow(recordset, values);
        }
        database.closeAll();
        statements.clear();
    }
};

} // namespace sedilo::test
