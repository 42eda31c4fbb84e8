#pragma once

#include <QRect>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;
class QWidget;

namespace sedilo::gui {

// Makers for the window's controls: each gets its object name, its initial
// text and its place. Texts are UTF-8.
QLabel* makeLabel(QWidget* parent, const char* name, const char* text, const QRect& place);
// Qt shows a plain tooltip as one line, which for the longer ones ran off the
// window: these come back as rich text in a table of readable width.
QString wrappedToolTip(const char* text);
QPushButton* makeButton(QWidget* parent, const char* name, const char* text, const QRect& place,
                        const char* toolTip = nullptr);
QLineEdit* makeEdit(QWidget* parent, const char* name, const char* text, const QRect& place);
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const char* text, bool checked, const QRect& place);
QRadioButton* makeRadioButton(QWidget* parent, const char* name, const char* text, bool checked,
                              const QRect& place);
QGroupBox* makeGroupBox(QWidget* parent, const char* name, const char* title, const QRect& place);
QProgressBar* makeProgressBar(QWidget* parent, const char* name, const QRect& place);
QTableView* makeGrid(QWidget* parent, const char* name, const QRect& place);

} // namespace sedilo::gui
