#include "QtShellDialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QUrl>

namespace sedilo::gui {

QFileDialog& QtShellDialogs::fileDialog()
{
    if (!m_fileDialog) {
        m_fileDialog = new QFileDialog(m_owner);
        m_fileDialog->setAcceptMode(QFileDialog::AcceptOpen);
        // A typed name of a file that does not exist is accepted.
        m_fileDialog->setFileMode(QFileDialog::AnyFile);
        m_fileDialog->setNameFilter(QStringLiteral("Excel文件 (*.xls *.xlsx)"));
    }
    return *m_fileDialog;
}

std::string QtShellDialogs::chooseFile(const std::string& title)
{
    QFileDialog& dialog = fileDialog();
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setDirectory(QDir::currentPath());
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? std::string() : files.first().toStdString();
}

std::string QtShellDialogs::chooseFolder(const std::string& title)
{
    // The folder chooser has no owner window.
    return QFileDialog::getExistingDirectory(nullptr, QString::fromStdString(title)).toStdString();
}

// Qt hands local files to xdg-open (or the desktop's own opener) and reports
// false when there is none.
bool QtShellDialogs::openFolder(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtShellDialogs::openDocument(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace sedilo::gui
