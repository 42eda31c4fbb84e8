#pragma once

#include <QPointer>
#include <QWidget>

#include "RememberedFolders.h"
#include "services/ShellDialogs.h"

namespace sedilo::gui {

// The desktop's choosers and its "open with the default application" service.
class QtShellDialogs : public ShellDialogs {
public:
    // `settings` null: the folders are remembered in the user's settings.
    explicit QtShellDialogs(std::unique_ptr<QSettings> settings = nullptr);

    // The open-file dialog belongs to the main window, which is made after this object.
    void setOwner(QWidget* window) { m_owner = window; }

    std::string chooseFile(const std::string& title) override;
    std::string chooseFolder(const std::string& title) override;
    bool openFolder(const std::string& path) override;
    bool openDocument(const std::string& path) override;

private:
    QPointer<QWidget> m_owner;
    RememberedFolders m_folders;
};

} // namespace sedilo::gui
