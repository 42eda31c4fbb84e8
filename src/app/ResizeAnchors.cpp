#include "ResizeAnchors.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QProgressBar>
#include <QRect>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace sedilo::gui {

namespace {

constexpr const char* kGrowsProperty = "sediloGrows";
constexpr const char* kDefaultPlaceProperty = "sediloDefaultPlace";

bool isContainer(const QWidget* control)
{
    return qobject_cast<const QGroupBox*>(control) != nullptr;
}

QList<QWidget*> controlsOf(const QWidget* container)
{
    QList<QWidget*> controls;
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            controls.append(child);
    }
    return controls;
}

QRect defaultPlace(QWidget* control)
{
    const QVariant remembered = control->property(kDefaultPlaceProperty);
    if (remembered.isValid())
        return remembered.toRect();
    control->setProperty(kDefaultPlaceProperty, control->geometry());
    return control->geometry();
}

bool overlapAcross(const QRect& a, const QRect& b)
{
    return a.left() <= b.right() && b.left() <= a.right();
}

bool overlapDown(const QRect& a, const QRect& b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

struct Placed {
    QWidget* control;
    QRect place;
    Qt::Orientations grows;
};

} // namespace

void setGrows(QWidget* control, Qt::Orientations directions)
{
    control->setProperty(kGrowsProperty, static_cast<int>(directions.toInt()));
}

Qt::Orientations growsIn(const QWidget* control)
{
    const QVariant mark = control->property(kGrowsProperty);
    if (mark.isValid())
        return Qt::Orientations::fromInt(mark.toInt());
    if (qobject_cast<const QAbstractItemView*>(control))
        return Qt::Horizontal | Qt::Vertical;
    if (qobject_cast<const QProgressBar*>(control))
        return Qt::Horizontal;
    Qt::Orientations directions;
    if (isContainer(control)) {
        for (const QWidget* inner : controlsOf(control))
            directions |= growsIn(inner);
    }
    return directions;
}

void applyAnchors(QWidget* container, QSize extra)
{
    const int extraWidth = std::max(0, extra.width());
    const int extraHeight = std::max(0, extra.height());
    std::vector<Placed> controls;
    for (QWidget* control : controlsOf(container))
        controls.push_back({control, defaultPlace(control), growsIn(control)});

    for (const Placed& placed : controls) {
        bool right = false;
        bool below = false;
        for (const Placed& other : controls) {
            if (other.control == placed.control)
                continue;
            if (other.grows.testFlag(Qt::Horizontal) && other.place.right() < placed.place.left()
                && overlapDown(other.place, placed.place))
                right = true;
            if (other.grows.testFlag(Qt::Vertical) && other.place.bottom() < placed.place.top()
                && overlapAcross(other.place, placed.place))
                below = true;
        }
        const int growsAcross = placed.grows.testFlag(Qt::Horizontal) ? extraWidth : 0;
        const int growsDown = placed.grows.testFlag(Qt::Vertical) ? extraHeight : 0;
        QRect place = placed.place.translated(right ? extraWidth : 0, below ? extraHeight : 0);
        place.setSize(place.size() + QSize(growsAcross, growsDown));
        placed.control->setGeometry(place);
        if (isContainer(placed.control))
            applyAnchors(placed.control, QSize(growsAcross, growsDown));
    }
}

} // namespace sedilo::gui
