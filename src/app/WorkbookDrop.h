#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

namespace sedilo::gui {

// Lets workbook files from the file manager be dropped onto a control. With
// One, exactly one workbook file is taken; with Several, any number, as long
// as one of them is a workbook. Any other drag is refused, and the control's
// own drop handling (a text box would insert the dragged text) is left out.
class WorkbookDrop : public QObject {
    Q_OBJECT
public:
    enum class Count { One, Several };
    using Handler = std::function<void(const QStringList& paths)>;

    // `target` takes drops from now on; the filter belongs to it.
    static void install(QWidget* target, Count count, Handler handler);

    // The local file paths of a drag that this kind of drop takes; empty when it takes none.
    static QStringList takenPaths(const QMimeData* data, Count count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WorkbookDrop(QWidget* target, Count count, Handler handler);

    Count m_count;
    Handler m_handler;
};

} // namespace sedilo::gui
