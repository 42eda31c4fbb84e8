#include "RememberedFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace sedilo::gui {

namespace {
QString keyOf(const QString& kind)
{
    // A title may hold the separator of settings groups.
    return QStringLiteral("folders/") + QString(kind).replace(QLatin1Char('/'), QLatin1Char('_'));
}
} // namespace

RememberedFolders::RememberedFolders(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings))
{
    if (!m_settings)
        m_settings = std::make_unique<QSettings>(QStringLiteral("Sedilo"), QStringLiteral("Sedilo"));
}

RememberedFolders::~RememberedFolders() = default;

QString RememberedFolders::startFolder(const QString& kind) const
{
    const QString remembered = m_settings->value(keyOf(kind)).toString();
    if (!remembered.isEmpty()) {
        for (QDir folder(remembered); !folder.isRoot(); folder.setPath(QFileInfo(folder.absolutePath()).path())) {
            if (folder.exists())
                return folder.absolutePath();
        }
    }
    const QString current = QDir::currentPath();
    if (QFileInfo(current) == QFileInfo(QCoreApplication::applicationDirPath()))
        return QDir::homePath();
    return current;
}

void RememberedFolders::remember(const QString& kind, const QString& folder)
{
    if (folder.isEmpty())
        return;
    m_settings->setValue(keyOf(kind), QDir(folder).absolutePath());
}

} // namespace sedilo::gui
