#pragma once

#include <string>

namespace sedilo::arrange {

// A private hidden folder inside the output folder where a run writes its room
// workbooks before renaming each to its own name (one file system, so the
// rename is atomic). The running program holds a lock on it; a folder whose
// lock nobody holds was left by a killed run and is removed by the next run
// into the same output folder, together with the hidden workbooks older
// versions of this program staged beside their targets.
class StagingFolder {
public:
    // `outputFolder` ends with a separator or not. Throws a Failure when no
    // folder can be made there.
    explicit StagingFolder(const std::string& outputFolder);
    ~StagingFolder(); // removes the folder and whatever is still in it
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    int m_lockFd = -1;
};

// Removes what killed runs left in `outputFolder`; only names of ours go.
void removeAbandonedStaging(const std::string& outputFolder);

} // namespace sedilo::arrange
