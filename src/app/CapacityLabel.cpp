#include "CapacityLabel.h"

#include <QLabel>

#include "UiStyle.h"
#include "arrange/Capacity.h"

namespace sedilo::gui {

void showCapacity(QLabel* label, session::Session& session)
{
    const arrange::Capacity capacity =
        arrange::measureCapacity(session.rooms.ksgrid, session.seatCounts, session.baseDataExaminees);
    label->setText(QString::fromStdString(arrange::capacityLine(capacity)));
    setTextColor(label, capacity.seatsShort() ? QColor(255, 0, 0) : label->parentWidget()->palette().color(QPalette::WindowText));
}

} // namespace sedilo::gui
