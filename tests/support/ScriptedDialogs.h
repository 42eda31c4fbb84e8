#pragma once

#include <deque>
#include <string>
#include <vector>

#include "services/ShellDialogs.h"

namespace sedilo::test {

// Answers file and folder choosers from a script; records what was opened.
class ScriptedDialogs : public ShellDialogs {
public:
    void nextFile(std::string path) { m_files.push_back(std::move(path)); }
    void nextFolder(std::string path) { m_folders.push_back(std::move(path)); }
    // false: the desktop has no application to show files or folders with.
    void setCanOpenDocuments(bool can) { m_canOpen = can; }

    std::string chooseFile(const std::string& title) override;
    std::string chooseFolder(const std::string& title) override;
    bool openFolder(const std::string& path) override;
    bool openDocument(const std::string& path) override;

    std::vector<std::string> titles;        // every chooser's title, in order
    std::vector<std::string> openedFolders;
    std::vector<std::string> openedDocuments;

private:
    std::deque<std::string> m_files;
    std::deque<std::string> m_folders;
    bool m_canOpen = true;
};

} // namespace sedilo::test
