#pragma once

#include <QPointer>
#include <QWidget>

#include "services/ShellDialogs.h"

class QFileDialog;

namespace sedilo::gui {

// The desktop's choosers and its "open with the default application" service.
class QtShellDialogs : public ShellDialogs {
public:
    // The open-file dialog belongs to the main window, which is made after this object.
    void setOwner(QWidget* window) { m_owner = window; }

    std::string chooseFile(const std::string& title) override;
    std::string chooseFolder(const std::string& title) override;
    bool openFolder(const std::string& path) override;
    bool openDocument(const std::string& path) override;

private:
    QFileDialog& fileDialog();

    QPointer<QWidget> m_owner;
    QPointer<QFileDialog> m_fileDialog;
};

} // namespace sedilo::gui
