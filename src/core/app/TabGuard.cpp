#include "app/TabGuard.h"

#include <exception>

#include "app/DatabaseFailure.h"
#include "services/text/Trim.h"
#include "store/Statements.h"

namespace sedilo::session {

TabGuard::TabGuard(store::SeatingDatabase& database, const rooms::RoomGrid& ksgrid,
                   const rooms::ArrangementOptions& options, Prompt& prompt, ProgressControl& ksscpro,
                   ProgressControl& cxdcscpro)
    : m_database(database), m_ksgrid(ksgrid), m_options(options), m_prompt(prompt), m_ksscpro(ksscpro),
      m_cxdcscpro(cxdcscpro)
{
}

std::optional<int> TabGuard::TabChanged(int newIndex)
{
    if (newIndex < kRoomsTabIndex || newIndex > kExportTabIndex)
        return std::nullopt;

    // The tab to return to if the database fails: the one the interrupted check sends back to.
    int fallback = kBaseDataTabIndex;
    try {
        const store::DatabaseHold hold = m_database.hold(store::LockMode::Shared);
        m_database.replaceSharedRecordset();
        m_database.OpenDataConnection();

        if (!hasBaseData())
            return refuse(kNoBaseData, kBaseDataTabIndex);
        if (newIndex == kRoomsTabIndex) {
            m_database.closeAll();
            return std::nullopt;
        }

        if (newIndex == kExportTabIndex)
            m_database.SharedRecordset().close();
        if (!hasRooms())
            return refuse(kNoRooms, kRoomsTabIndex);
        if (newIndex == kGenerateTabIndex) {
            m_database.closeAll();
            m_ksscpro.setVisible(false);
            return std::nullopt;
        }

        fallback = kGenerateTabIndex;
        if (!hasArrangement())
            return refuse(kNoArrangement, kGenerateTabIndex);
        m_database.closeAll();
        m_cxdcscpro.setVisible(false);
        return std::nullopt;
    } catch (const std::exception& failure) {
        try {
            m_database.closeAll();
        } catch (...) {
        }
        ReportDatabaseFailure(m_prompt, m_database.filePath(), failure);
        return fallback;
    }
}

bool TabGuard::hasBaseData()
{
    auto& recordset = m_database.SharedRecordset();
    recordset.open(store::sql::kSelectBaseData, m_database.SharedConnection());
    m_baseDataExaminees = recordset.rowCount();
    return *m_baseDataExaminees >= 1;
}

bool TabGuard::hasRooms() const
{
    return m_ksgrid.Rows() >= 2 && !trimSpaces(m_ksgrid.TextMatrix(1, 0)).empty();
}

bool TabGuard::hasArrangement()
{
    // With no ordering box ticked there is no order to look at: nothing generated counts.
    const auto ordering = m_options.ordering();
    if (!ordering || m_database.workingCopyStale())
        return false;
    auto& recordset = m_database.SharedRecordset();
    recordset.open(rooms::orderingStatement(*ordering), m_database.SharedConnection());
    if (recordset.rowCount() < 1)
        return false;
    // The examinee who comes first in the chosen order must have a room.
    return !trimSpaces(recordset.text("考室")).empty();
}

std::optional<int> TabGuard::refuse(const char* message, int index)
{
    m_prompt.error(message);
    m_database.closeAll();
    return index;
}

} // namespace sedilo::session

