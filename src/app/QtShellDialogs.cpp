#include "QtShellDialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include <memory>

namespace sedilo::gui {

QtShellDialogs::QtShellDialogs(std::unique_ptr<QSettings> settings) : m_folders(std::move(settings)) {}

std::string QtShellDialogs::chooseFile(const std::string& title)
{
    // A dialog of its own each time, gone with its completer's popup when it
    // returns: a popup left over the window swallowed the next click.
    const std::unique_ptr<QFileDialog> dialog = std::make_unique<QFileDialog>(m_owner);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a file that does not exist is accepted.
    dialog->setFileMode(QFileDialog::AnyFile);
    // Every format the workbook engine reads; the patterns match in any letter case.
    dialog->setNameFilter(QStringLiteral("Excel文件 (*.xls *.xlsx *.xlsm *.xltx *.xltm)"));
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    const QString kind = QString::fromStdString(title);
    dialog->setWindowTitle(kind);
    dialog->setDirectory(m_folders.startFolder(kind));
    const bool accepted = dialog->exec() == QDialog::Accepted;
    const QStringList files = dialog->selectedFiles();
    for (QCompleter* completer : dialog->findChildren<QCompleter*>())
        if (completer->popup())
            completer->popup()->hide();
    if (!accepted || files.isEmpty())
        return {};
    m_folders.remember(kind, QFileInfo(files.first()).absolutePath());
    return files.first().toStdString();
}

std::string QtShellDialogs::chooseFolder(const std::string& title)
{
    // The folder chooser has no owner window.
    const QString kind = QString::fromStdString(title);
    const QString folder = QFileDialog::getExistingDirectory(nullptr, kind, m_folders.startFolder(kind));
    m_folders.remember(kind, folder);
    return folder.toStdString();
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
