#include "Banner.h"

#include <QLinearGradient>
#include <QPainter>

#include "UiStyle.h"

namespace sedilo::gui {

QPixmap drawBanner(int width)
{
    QPixmap picture(width, kBannerHeight);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient gradient(0, 0, width, kBannerHeight);
    gradient.setColorAt(0.0, QColor(10, 46, 128));
    gradient.setColorAt(0.55, QColor(32, 104, 196));
    gradient.setColorAt(1.0, QColor(110, 170, 235));
    painter.fillRect(picture.rect(), gradient);

    // A lighter band along the bottom edge sets the banner off from the tabs.
    painter.fillRect(QRect(0, kBannerHeight - 3, width, 3), QColor(180, 210, 245));

    QFont font = songTi(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    // Only the part inside the window is seen; centre the text there.
    const QRect visible(-kBannerLeft, 0, width + 2 * kBannerLeft, kBannerHeight - 3);
    painter.drawText(visible, Qt::AlignCenter, QString::fromUtf8(kBannerText));
    return picture;
}

} // namespace sedilo::gui
