#include "AppIcon.h"

// The pictures live in a static library, whose resources are only linked in
// when named; Q_INIT_RESOURCE must be called outside any namespace.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace sedilo::gui {

QIcon applicationIcon()
{
    initIconResources();
    QIcon builtIn;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/sedilo-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QString::fromLatin1(kDesktopId), builtIn);
}

} // namespace sedilo::gui
