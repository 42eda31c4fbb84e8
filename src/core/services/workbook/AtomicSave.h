#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sedilo::workbook {

// Lets `write` produce the file at a fresh temporary path beside `target`, then
// renames it over `target`, so that a reader never sees a half-written file and
// a failed save leaves any earlier file untouched. Failures throw WorkbookError
// naming `target`; the temporary file is removed.
void saveAtomically(const std::string& target, const std::function<void(const std::string& tempPath)>& write);

// The same for content already in memory.
void saveAtomically(const std::string& target, std::string_view content);

// Writes `content` as the new file `target` with one write, refusing a file
// already there: for a folder only this process writes to, where the
// temporary file and its rename would add nothing. A failed write removes
// the file.
void saveAsNewFile(const std::string& target, std::string_view content);

// A file written whole before it has a name: nobody sees it half-written,
// and one never named goes with its handle, even when the process dies.
class UnnamedFile {
public:
    // The file holding `content`, made in `folder`; nullopt where the folder's
    // file system makes no unnamed files or the content cannot be written.
    static std::optional<UnnamedFile> write(const std::string& folder, std::string_view content);
    ~UnnamedFile();
    UnnamedFile(UnnamedFile&& other) noexcept;
    UnnamedFile& operator=(UnnamedFile&& other) noexcept;
    UnnamedFile(const UnnamedFile&) = delete;
    UnnamedFile& operator=(const UnnamedFile&) = delete;

    // Names the file `path` when nothing has that name yet. False when it
    // cannot: the file stays unnamed and nothing at `path` changes.
    bool nameAs(const std::string& path);

private:
    explicit UnnamedFile(int fd) : m_fd(fd) {}

    int m_fd = -1;
};

} // namespace sedilo::workbook
