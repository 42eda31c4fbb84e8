#include "Controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace sedilo::gui {

namespace {
template <typename Widget> Widget* place(Widget* widget, const char* name, const QRect& rect)
{
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(rect);
    return widget;
}
} // namespace

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, const QRect& rect)
{
    return place(new QLabel(QString::fromUtf8(text), parent), name, rect);
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* text, const QRect& rect,
                        const char* toolTip)
{
    auto* button = place(new QPushButton(QString::fromUtf8(text), parent), name, rect);
    // As rich text Qt wraps a tooltip at a readable width; plain text stays
    // one line, which for the longer tooltips runs off the window.
    if (toolTip)
        button->setToolTip(QStringLiteral("<p>") + QString::fromUtf8(toolTip).toHtmlEscaped() + QStringLiteral("</p>"));
    // Enter presses the focused button, as on Windows.
    button->setAutoDefault(true);
    return button;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const char* text, const QRect& rect)
{
    return place(new QLineEdit(QString::fromUtf8(text), parent), name, rect);
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const char* text, bool checked, const QRect& rect)
{
    auto* box = place(new QCheckBox(QString::fromUtf8(text), parent), name, rect);
    box->setChecked(checked);
    return box;
}

QRadioButton* makeRadioButton(QWidget* parent, const char* name, const char* text, bool checked,
                              const QRect& rect)
{
    auto* button = place(new QRadioButton(QString::fromUtf8(text), parent), name, rect);
    button->setChecked(checked);
    return button;
}

QGroupBox* makeGroupBox(QWidget* parent, const char* name, const char* title, const QRect& rect)
{
    return place(new QGroupBox(QString::fromUtf8(title), parent), name, rect);
}

QProgressBar* makeProgressBar(QWidget* parent, const char* name, const QRect& rect)
{
    auto* bar = place(new QProgressBar(parent), name, rect);
    bar->setTextVisible(false);
    return bar;
}

QTableView* makeGrid(QWidget* parent, const char* name, const QRect& rect)
{
    auto* grid = place(new QTableView(parent), name, rect);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setHighlightSections(false);
    // A wider window widens the last column instead of leaving a grey band.
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    return grid;
}

} // namespace sedilo::gui
