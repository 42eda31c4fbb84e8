#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "arrange/ExamineeValues.h"
#include "arrange/RoomSchedule.h"
#include "services/workbook/AtomicSave.h"

namespace sedilo::arrange {

// What producing one room left.
struct ProducedRoom {
    std::string savedPath; // the room workbook under a temporary name; empty on failure
    std::optional<std::string> packaged; // made on a worker; kept until the room is named
    std::optional<workbook::UnnamedFile> unnamed; // those bytes, written on the worker
    long assigned = 0;     // seats filled (before the failure, if any)
    std::exception_ptr failure;
};

// Produces the room workbooks of a schedule on worker threads. Each room is
// filled from a copy of its parsed template and saved into the run's staging
// folder (on the targets' file system); the caller takes the rooms in order and gives each its
// own name, so a run that stops at room k never leaves a later room behind.
class RoomProduction {
public:
    RoomProduction(const std::vector<RoomJob>& jobs, const std::vector<ExamineeValues>& examinees, unsigned workers,
                   std::string stagingFolder);
    // Stops the workers and removes every temporary file not taken.
    ~RoomProduction();
    RoomProduction(const RoomProduction&) = delete;
    RoomProduction& operator=(const RoomProduction&) = delete;

    // Waits for room `index`; rooms are taken in order, each once. The caller
    // owns the temporary file from then on. Workers write the rooms as files
    // without a name where the file system makes them; elsewhere they only
    // make the bytes and this thread writes them: threads creating files in
    // one folder while another renames out of it spin on the folder's lock.
    ProducedRoom take(std::size_t index);

    // Names the taken room `target` when it was written unnamed and nothing
    // has that name yet. Otherwise writes it to its temporary file for the
    // caller to rename over the target, and returns false.
    bool nameUnnamed(std::size_t index, ProducedRoom& produced, const std::string& target);

private:
    void work();
    ProducedRoom produce(std::size_t index) const;
    void writeTemporary(std::size_t index, ProducedRoom& produced) const;
    std::string temporaryBase(std::size_t index) const;
    void stop();

    const std::vector<RoomJob>& m_jobs;
    const std::vector<ExamineeValues>& m_examinees;
    std::string m_stagingFolder;
    std::size_t m_window; // rooms produced ahead of the caller, bounding temporary files

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::optional<ProducedRoom>> m_results;
    std::size_t m_nextJob = 0;
    std::size_t m_taken = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace sedilo::arrange
