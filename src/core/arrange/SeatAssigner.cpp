#include "arrange/SeatAssigner.h"

namespace sedilo::arrange {

namespace {

constexpr long kExamineesPerProgressStep = 100;

} // namespace

SeatAssigner::SeatAssigner(store::Connection& connection, store::Recordset& cursor, ProgressControl& progress,
                           long examinees)
    : m_connection(connection), m_cursor(cursor), m_progress(progress), m_examinees(examinees)
{
}

bool SeatAssigner::AssignSeat(const std::string& room, int seat)
{
    m_cursor.setValue("考室", room);
    m_cursor.setValue("座位号", std::to_string(seat));
    m_cursor.update();
    ++m_seated;
    // The first seat at once: until then the tab still shows the last run's end.
    if (m_seated == 1 || m_seated % kExamineesPerProgressStep == 0)
        showProgress();
    m_cursor.moveNext();
    return m_seated < m_examinees;
}

void SeatAssigner::showProgress()
{
    if (m_seated == m_shown)
        return;
    m_shown = m_seated;
    m_progress.setValue(static_cast<int>(m_seated));
    m_progress.setStatus("正在生成第" + std::to_string(m_seated) + "位考生考室数据");
}

void SeatAssigner::commit()
{
    m_connection.commitWriteBatch();
}

} // namespace sedilo::arrange
