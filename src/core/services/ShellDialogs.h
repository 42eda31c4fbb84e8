#pragma once

#include <string>

namespace sedilo {

// The desktop's file and folder choosers and its "open with the default
// application" service. The window implements it with Qt; tests script it.
class ShellDialogs {
public:
    virtual ~ShellDialogs() = default;

    // Open-file chooser with the filter "Excel文件 (*.xls *.xlsx)", starting in
    // the current folder; a typed name that does not exist is accepted.
    // Returns the chosen path as given, or "" when cancelled.
    virtual std::string chooseFile(const std::string& title) = 0;

    // Folder chooser; returns the chosen folder's path, or "" when cancelled.
    virtual std::string chooseFolder(const std::string& title) = 0;

    // Shows a folder in the file browser. Returns false when the desktop has
    // nothing to show it with.
    virtual bool openFolder(const std::string& path) = 0;

    // Hands a file to the desktop's default application. Returns false when no
    // application could be started for it.
    virtual bool openDocument(const std::string& path) = 0;
};

} // namespace sedilo
