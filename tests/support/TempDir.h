#pragma once

#include <filesystem>
#include <string>

namespace sedilo::test {

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // `name` inside the folder, as a UTF-8 string.
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    // The folder with a trailing separator, as the output-folder text has it.
    std::string folderText() const { return m_path.string() + "/"; }

private:
    std::filesystem::path m_path;
};

// Committed test files (tests/fixtures) and shipped data files (data/).
std::string fixturePath(const std::string& name);
std::string dataPath(const std::string& name);

} // namespace sedilo::test
