#include "CoreGridModel.h"

#include <QColor>
#include <QThread>

namespace sedilo::gui {

CoreGridModel::CoreGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int CoreGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
}

int CoreGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : gridColumns();
}

QVariant CoreGridModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row() + 1;
    if (!index.isValid() || m_suspended || row >= gridRows())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(gridText(row, index.column()));
    if (role == Qt::ToolTipRole) {
        const std::string tip = gridToolTip(row, index.column());
        return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
    }
    if (role == Qt::ForegroundRole) {
        const QColor color = gridColor(row, index.column());
        return color.isValid() ? QVariant(color) : QVariant();
    }
    return {};
}

QVariant CoreGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= gridColumns())
        return {};
    if (m_suspended)
        return m_suspendedHeaders.value(section);
    if (gridRows() < 1)
        return {};
    return QString::fromStdString(gridText(0, section));
}

std::string CoreGridModel::gridToolTip(int, int) const
{
    return {};
}

QColor CoreGridModel::gridColor(int, int) const
{
    return {};
}

void CoreGridModel::gridChanged()
{
    if (m_suspended)
        return;
    if (QThread::currentThread() == thread()) {
        refresh();
        return;
    }
    if (!m_refreshQueued.exchange(true))
        QMetaObject::invokeMethod(this, [this] { refresh(); }, Qt::QueuedConnection);
}

void CoreGridModel::refresh()
{
    m_refreshQueued = false;
    if (m_suspended)
        return;
    // Rows are added or dropped at the end rather than the model reset, so
    // that the view keeps its current cell.
    const int rows = std::max(0, gridRows() - 1);
    if (rows > m_shownRows) {
        beginInsertRows({}, m_shownRows, rows - 1);
        m_shownRows = rows;
        endInsertRows();
    } else if (rows < m_shownRows) {
        beginRemoveRows({}, rows, m_shownRows - 1);
        m_shownRows = rows;
        endRemoveRows();
    }
    const int columns = gridColumns();
    if (m_shownRows > 0)
        emit dataChanged(index(0, 0), index(m_shownRows - 1, columns - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
}

void CoreGridModel::suspend()
{
    if (m_suspended)
        return;
    m_suspendedHeaders.clear();
    for (int column = 0; column < gridColumns(); ++column)
        m_suspendedHeaders.append(headerData(column, Qt::Horizontal).toString());
    beginResetModel();
    m_suspended = true;
    m_shownRows = 0;
    endResetModel();
}

void CoreGridModel::resume()
{
    if (!m_suspended)
        return;
    beginResetModel();
    m_suspended = false;
    m_shownRows = std::max(0, gridRows() - 1);
    endResetModel();
}

} // namespace sedilo::gui
