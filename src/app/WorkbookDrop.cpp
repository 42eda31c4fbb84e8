#include "WorkbookDrop.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "rooms/DroppedTemplates.h"

namespace sedilo::gui {

WorkbookDrop::WorkbookDrop(QWidget* target, Count count, Handler handler)
    : QObject(target), m_count(count), m_handler(std::move(handler))
{
}

void WorkbookDrop::install(QWidget* target, Count count, Handler handler)
{
    target->setAcceptDrops(true);
    target->installEventFilter(new WorkbookDrop(target, count, std::move(handler)));
}

QStringList WorkbookDrop::takenPaths(const QMimeData* data, Count count)
{
    if (!data || !data->hasUrls())
        return {};
    QStringList paths;
    bool anyWorkbook = false;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        const QString path = url.toLocalFile();
        anyWorkbook = anyWorkbook || rooms::isDroppableWorkbook(path.toStdString());
        paths.append(path);
    }
    if (!anyWorkbook)
        return {};
    if (count == Count::One && (paths.size() != 1))
        return {};
    return paths;
}

bool WorkbookDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (takenPaths(drag->mimeData(), m_count).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = takenPaths(drop->mimeData(), m_count);
        if (paths.isEmpty()) {
            drop->ignore();
        } else {
            drop->acceptProposedAction();
            m_handler(paths);
        }
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace sedilo::gui
