#include "arrange/GenerateArrangement.h"

#include <algorithm>
#include <filesystem>
#include <future>
#include <optional>
#include <thread>

#include "arrange/ApartSeating.h"
#include "arrange/ArrangeError.h"
#include "arrange/RoomProduction.h"
#include "arrange/RoomSchedule.h"
#include "arrange/SeatAssigner.h"
#include "arrange/StagingFolder.h"
#include "services/Messages.h"
#include "services/failure/FileErrorCause.h"
#include "services/ShellFolders.h"
#include "services/text/Trim.h"
#include "store/RebuildWorkingCopy.h"
#include "store/SelectedRows.h"

namespace sedilo::arrange {

namespace {

constexpr const char* kNoBaseData = "基础数据没导入数据库，请先导入数据库设置好各考室参数后再生成！";
constexpr const char* kAllRoomsDone = "所有考室生成完成！";
constexpr std::size_t kPairsListed = 2000;

using Outcome = GenerationResult::Outcome;

// The ordering's rows as read, with the rowids the seats are written back
// into, and each examinee's values viewed in them.
struct OrderedExaminees {
    store::SelectedRows rows;
    std::vector<ExamineeValues> values;
};

OrderedExaminees readExaminees(store::Connection& connection, const std::string& ordering)
{
    OrderedExaminees examinees{store::readSelectedRows(connection, ordering, {"姓名", "考号", "单位"}), {}};
    const store::SelectedRows& rows = examinees.rows;
    examinees.values.reserve(rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row)
        examinees.values.push_back({rows.text(row, 0), rows.text(row, 1), rows.text(row, 2)});
    return examinees;
}

void closeQuietly(store::SeatingDatabase& database)
{
    try {
        database.closeAll();
    } catch (...) {
    }
}

// One click on PushButton7, from the rebuild to the closing message.
class GenerationRun {
public:
    GenerationRun(GenerateTab& tab, const rooms::RoomsTab& rooms, store::SeatingDatabase& database,
                  cipher::NameCipher& cipher, Prompt& prompt, const GenerationSettings& settings,
                  GenerationResult& result)
        : m_tab(tab), m_rooms(rooms), m_database(database), m_cipher(cipher), m_prompt(prompt),
          m_settings(settings), m_result(result)
    {
    }

    void run(const std::string& folder)
    {
        try {
            runSteps(folder);
        } catch (...) {
            // What was seated before the stop is kept and shown.
            if (m_assigner) {
                try {
                    m_assigner->commit();
                } catch (...) {
                }
                m_assigner->showProgress();
            }
            throw;
        }
    }

private:
    void runSteps(const std::string& folder)
    {
        const store::DatabaseHold hold = m_database.hold(store::LockMode::Exclusive);
        const auto copied = static_cast<long>(store::RebuildWorkingCopy(m_database, m_cipher));
        m_database.replaceSharedRecordset();
        m_database.OpenDataConnection();
        const auto ordering = m_rooms.options.ordering();
        if (!ordering)
            throw ArrangeError({.kind = CauseKind::NoOrderingTicked, .detail = "no examinee ordering is ticked"});
        // The rooms are laid out on another core while this one reads the
        // ordering: each takes a city's thousands of rows.
        TemplateCache templates(m_rooms.options.fillDirection());
        std::future<RoomSchedule> scheduling = std::async(std::launch::async, [&] {
            return scheduleRooms(m_rooms.ksgrid, folder, templates, copied);
        });
        m_ordered = readExaminees(m_database.SharedConnection(), rooms::orderingStatement(*ordering));
        OrderedExaminees& ordered = m_ordered;
        const long examinees = static_cast<long>(ordered.values.size());
        m_result.examinees = examinees;
        if (examinees <= 0) {
            finish(Outcome::NoBaseData, kNoBaseData, PromptStyle::Error, false);
            return;
        }
        ProgressControl& progress = m_tab.ksscpro;
        progress.setRange(1, static_cast<int>(examinees));
        m_prompt.inform(messages::kDoNotOperate);
        progress.setVisible(true);
        std::vector<ExamineeValues>& values = ordered.values;

        RoomSchedule laidOut = scheduling.get();
        if (examinees != copied)
            laidOut = scheduleRooms(m_rooms.ksgrid, folder, templates, examinees);
        const RoomSchedule schedule = std::move(laidOut);
        if (m_rooms.seatingRule.apart)
            seatUnitsApart(schedule, values, ordered.rows.rowIds);
        m_assigner.emplace(m_database.SharedConnection(), std::move(ordered.rows.table),
                           std::move(ordered.rows.rowIds), progress,
                           m_settings.writeBack ? SeatAssigner::WriteBack::IntoTheRows
                                                : SeatAssigner::WriteBack::Skipped);
        SeatAssigner& assigner = *m_assigner;
        // The seats are known before any room is written: they go into the
        // database, or into the export's rows, while the workbooks are made.
        assigner.writeAhead(schedule.jobs, values);
        produceRooms(schedule, values, assigner, folder);

        switch (schedule.stop.kind) {
        case RoomStop::Kind::TemplateMissing:
            closeRooms(assigner);
            finish(Outcome::TemplateMissing, "“" + schedule.stop.templatePath + "”" + messages::kTemplateMissingSuffix,
                   PromptStyle::Error, true);
            return;
        case RoomStop::Kind::Failure:
            assignRoom(assigner, schedule.stop.room, schedule.stop.assigned);
            std::rethrow_exception(schedule.stop.failure);
        case RoomStop::Kind::None:
            break;
        }
        closeRooms(assigner);
        if (!m_settings.writeBack)
            m_result.arrangedRows = assigner.arrangedRows(values);
        const long remaining = examinees - assigner.seated();
        if (remaining > 0) {
            finish(Outcome::RoomsUsedUp, "还有" + std::to_string(remaining) + "考生没指定考室，请重新设置考室参数再次生成！",
                   PromptStyle::Error, true);
            return;
        }
        progress.setMaximumValue();
        finish(Outcome::Complete, kAllRoomsDone, PromptStyle::Information, true);
    }

    // Who takes which scheduled seat changes; the values and their rows then
    // run in seat order, so the rooms are produced and written as before.
    void seatUnitsApart(const RoomSchedule& schedule, std::vector<ExamineeValues>& values,
                        std::vector<std::int64_t>& rowIds)
    {
        ApartSeating seating = seatApart(schedule.jobs, values, m_rooms.seatingRule.neighbourhood);
        std::vector<ExamineeValues> seated;
        std::vector<std::int64_t> seatedRows;
        seated.reserve(seating.examineeAt.size());
        seatedRows.reserve(seating.examineeAt.size());
        for (const long examinee : seating.examineeAt) {
            seated.push_back(values[examinee]);
            seatedRows.push_back(rowIds[examinee]);
        }
        std::move(seated.begin(), seated.end(), values.begin());
        std::copy(seatedRows.begin(), seatedRows.end(), rowIds.begin());
        m_result.sameUnitPairs = std::move(seating.pairs);
    }

    // Takes the produced rooms in room order: their rows are written, then
    // each workbook gets its own name. The first failure ends the run there.
    void produceRooms(const RoomSchedule& schedule, const std::vector<ExamineeValues>& values,
                      SeatAssigner& assigner, const std::string& folder)
    {
        // Declared before the production, so its workers are done when it goes.
        // A folder that cannot take one fails the run at the first room's
        // save, as saving straight into it would, once that room is seated.
        std::optional<StagingFolder> staging;
        std::exception_ptr stagingFailure;
        // Beside the targets: a folder text that names no folder is the start
        // of their names, and a rename stays within one file system.
        const std::string targetFolder =
            schedule.jobs.empty() ? folder : std::filesystem::path(schedule.jobs.front().target).parent_path().string();
        try {
            staging.emplace(targetFolder);
        } catch (...) {
            stagingFailure = std::current_exception();
        }
        unsigned workers = m_settings.workers;
        if (workers == 0)
            workers = std::max(1u, std::thread::hardware_concurrency());
        RoomProduction production(schedule.jobs, values, workers,
                                  staging ? staging->path() : targetFolder + "/.sedilo-staging-none");
        for (std::size_t index = 0; index < schedule.jobs.size(); ++index) {
            const RoomJob& job = schedule.jobs[index];
            ProducedRoom produced = production.take(index);
            try {
                assignRoom(assigner, job.room, produced.assigned);
            } catch (...) {
                // The taken room is ours now; a failure writing its rows must
                // not leave its hidden file in the output folder.
                std::error_code ignored;
                std::filesystem::remove(produced.savedPath, ignored);
                throw;
            }
            if (stagingFailure)
                std::rethrow_exception(stagingFailure);
            if (produced.failure)
                std::rethrow_exception(produced.failure);
            const std::string target = job.target + job.roomTemplate->extension();
            if (!production.nameUnnamed(index, produced, target))
                renameOver(produced, target);
            ++m_result.workbooksWritten;
            if (produced.assigned > 0)
                ++m_result.roomsWithExaminees;
        }
    }

    static void renameOver(const ProducedRoom& produced, const std::string& target)
    {
        if (produced.failure)
            std::rethrow_exception(produced.failure);
        std::error_code error;
        std::filesystem::rename(produced.savedPath, target, error);
        if (error) {
            std::error_code ignored;
            std::filesystem::remove(produced.savedPath, ignored);
            throw ArrangeError(FileErrorCause(error.value(), target, FileAccess::Write,
                                              "cannot save the room workbook: " + error.message()));
        }
    }

    void assignRoom(SeatAssigner& assigner, const std::string& room, long seats)
    {
        for (long seat = 1; seat <= seats; ++seat) {
            assigner.AssignSeat(room, static_cast<int>(seat));
            m_result.seated = assigner.seated();
        }
    }

    void closeRooms(SeatAssigner& assigner)
    {
        assigner.commit();
        assigner.showProgress();
    }

    void finish(Outcome outcome, const std::string& message, PromptStyle style, bool toStatus)
    {
        std::string shown = message;
        std::string detail;
        const bool ranToTheEnd = outcome == Outcome::Complete || outcome == Outcome::RoomsUsedUp;
        if (ranToTheEnd && m_result.sameUnitPairs) {
            shown += "\n" + messages::sameUnitNeighbours(m_result.sameUnitPairs->size());
            detail = sameUnitList(*m_result.sameUnitPairs, kPairsListed);
        }
        m_result.outcome = outcome;
        m_result.message = shown;
        m_database.closeAll();
        m_prompt.show(style, shown, detail);
        if (toStatus)
            m_tab.ksscpro.setStatus(message);
    }

    GenerateTab& m_tab;
    const rooms::RoomsTab& m_rooms;
    store::SeatingDatabase& m_database;
    cipher::NameCipher& m_cipher;
    Prompt& m_prompt;
    const GenerationSettings& m_settings;
    GenerationResult& m_result;
    // Before the assigner: the export's rows it lays out ahead view these
    // values until it is gone, whichever way the run ends.
    OrderedExaminees m_ordered;
    std::optional<SeatAssigner> m_assigner;
};

} // namespace

GenerationResult GenerateArrangement(GenerateTab& tab, const rooms::RoomsTab& rooms, store::SeatingDatabase& database,
                                     cipher::NameCipher& cipher, Prompt& prompt, const GenerationSettings& settings)
{
    GenerationResult result;
    const std::string folder = OutputFolderText(tab.ksoutpath);
    if (folder.empty()) {
        result.outcome = Outcome::NoOutputFolder;
        result.message = messages::kNoOutputFolder;
        prompt.error(messages::kNoOutputFolder);
        return result;
    }
    try {
        GenerationRun(tab, rooms, database, cipher, prompt, settings, result).run(folder);
        return result;
    } catch (...) {
        result.cause = CauseOf(std::current_exception());
    }
    result.outcome = Outcome::Failed;
    result.message = messages::kNoExcel;
    closeQuietly(database);
    prompt.fail(messages::kNoExcel, result.cause);
    return result;
}

} // namespace sedilo::arrange
