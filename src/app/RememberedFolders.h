#pragma once

#include <QSettings>
#include <QString>

#include <memory>



namespace sedilo::gui {

// The folder each kind of chooser was last left in, kept across runs. A kind
// is named by the chooser's title, which is different for each kind of file.
class RememberedFolders {
public:
    // `settings` null: the user's own settings of the program.
    explicit RememberedFolders(std::unique_ptr<QSettings> settings = nullptr);
    ~RememberedFolders();

    // Where a chooser of this kind opens: the remembered folder (or its
    // nearest existing parent), else the current folder unless that is the
    // program's own, else the home folder.
    QString startFolder(const QString& kind) const;

    void remember(const QString& kind, const QString& folder);

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace sedilo::gui
