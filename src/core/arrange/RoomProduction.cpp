#include "arrange/RoomProduction.h"

#include <algorithm>
#include <filesystem>

#include "arrange/FillRoomWorkbook.h"

namespace sedilo::arrange {

namespace {

// The ordering seen from one room's first examinee on.
class OrderingSlice : public ExamineeSource {
public:
    OrderingSlice(const std::vector<ExamineeValues>& examinees, long first)
        : m_examinees(examinees), m_next(static_cast<std::size_t>(first))
    {
    }

    bool exhausted() const override { return m_next >= m_examinees.size(); }
    std::string name() const override { return std::string(m_examinees[m_next].name); }
    std::string number() const override { return std::string(m_examinees[m_next].number); }
    std::string unit() const override { return std::string(m_examinees[m_next].unit); }

    bool AssignSeat(const std::string&, int) override
    {
        ++m_assigned;
        ++m_next;
        return !exhausted();
    }

    long assigned() const { return m_assigned; }

private:
    const std::vector<ExamineeValues>& m_examinees;
    std::size_t m_next;
    long m_assigned = 0;
};

} // namespace

RoomProduction::RoomProduction(const std::vector<RoomJob>& jobs, const std::vector<ExamineeValues>& examinees,
                               unsigned workers, std::string stagingFolder)
    : m_jobs(jobs), m_examinees(examinees), m_stagingFolder(std::move(stagingFolder)), m_results(jobs.size())
{
    if (workers == 0)
        workers = 1;
    m_window = std::max<std::size_t>(8, 4 * std::size_t{workers});
    const std::size_t threads = std::min<std::size_t>(workers, jobs.size());
    try {
        for (std::size_t i = 0; i < threads; ++i)
            m_threads.emplace_back([this] { work(); });
    } catch (...) {
        stop();
        throw;
    }
}

RoomProduction::~RoomProduction()
{
    stop();
    for (const auto& result : m_results) {
        if (result && !result->savedPath.empty()) {
            std::error_code ignored;
            std::filesystem::remove(result->savedPath, ignored);
        }
    }
}

void RoomProduction::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (auto& thread : m_threads) {
        if (thread.joinable())
            thread.join();
    }
}

ProducedRoom RoomProduction::take(std::size_t index)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_results[index].has_value(); });
    ProducedRoom produced = std::move(*m_results[index]);
    m_results[index].reset();
    m_taken = index + 1;
    lock.unlock();
    m_changed.notify_all();
    if (!produced.unnamed)
        writeTemporary(index, produced);
    return produced;
}

bool RoomProduction::nameUnnamed(std::size_t index, ProducedRoom& produced, const std::string& target)
{
    if (!produced.unnamed)
        return false;
    const bool named = produced.unnamed->nameAs(target);
    produced.unnamed.reset();
    if (named) {
        produced.packaged.reset();
        return true;
    }
    writeTemporary(index, produced);
    return false;
}

void RoomProduction::writeTemporary(std::size_t index, ProducedRoom& produced) const
{
    if (!produced.packaged)
        return;
    const std::string path = temporaryBase(index) + m_jobs[index].roomTemplate->extension();
    try {
        workbook::saveAsNewFile(path, *produced.packaged);
        produced.savedPath = path;
    } catch (...) {
        produced.failure = std::current_exception();
    }
    produced.packaged.reset();
}

void RoomProduction::work()
{
    for (;;) {
        std::size_t index = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] {
                return m_stopping || m_nextJob >= m_jobs.size() || m_nextJob < m_taken + m_window;
            });
            if (m_stopping || m_nextJob >= m_jobs.size())
                return;
            index = m_nextJob++;
        }
        ProducedRoom produced = produce(index);
        {
            std::lock_guard lock(m_mutex);
            m_results[index] = std::move(produced);
        }
        m_changed.notify_all();
    }
}

ProducedRoom RoomProduction::produce(std::size_t index) const
{
    const RoomJob& job = m_jobs[index];
    ProducedRoom produced;
    OrderingSlice slice(m_examinees, job.first);
    try {
        const auto book = job.roomTemplate->copy();
        fillRoomSheet(book->firstSheet(), job.roomTemplate->seatPath(), job.room, slice);
        const std::string base = temporaryBase(index);
        produced.packaged = book->packagedFile(base);
        if (produced.packaged)
            produced.unnamed = workbook::UnnamedFile::write(m_stagingFolder, *produced.packaged);
        else
            produced.savedPath = book->saveAsNew(base);
    } catch (...) {
        produced.failure = std::current_exception();
    }
    produced.assigned = slice.assigned();
    return produced;
}

std::string RoomProduction::temporaryBase(std::size_t index) const
{
    return (std::filesystem::path(m_stagingFolder) / ("room-" + std::to_string(index))).string();
}

} // namespace sedilo::arrange
