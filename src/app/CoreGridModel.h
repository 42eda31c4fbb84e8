#pragma once

#include <QAbstractTableModel>

#include <QStringList>

#include <atomic>
#include <string>

namespace sedilo::gui {

// A table view's window on one of the core's grids, whose row 0 is the header
// row and whose data rows start at 1. The core grid tells about changes
// through a listener, possibly from a worker thread; the view is refreshed on
// the model's own thread, and a burst of changes costs one refresh.
class CoreGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CoreGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Brings the view up to date with the grid now.
    void refresh();

    // While work off the user-interface thread may replace the grid, the view
    // shows the header alone and reads nothing of the grid; resume() shows the
    // grid as the work left it.
    void suspend();
    void resume();

protected:
    // To be called by the grid's change listener, from any thread.
    void gridChanged();

    virtual int gridRows() const = 0; // header row included
    virtual int gridColumns() const = 0;
    virtual std::string gridText(int row, int column) const = 0;
    // Text colour of a grid cell, or an invalid colour for the default.
    virtual QColor gridColor(int row, int column) const;
    // Tooltip of a grid cell; none by default.
    virtual std::string gridToolTip(int row, int column) const;

private:
    int m_shownRows = 0; // data rows the view knows of
    std::atomic_bool m_refreshQueued{false};
    std::atomic_bool m_suspended{false};
    QStringList m_suspendedHeaders;
};

} // namespace sedilo::gui
