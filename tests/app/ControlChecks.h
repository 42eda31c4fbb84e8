#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextDocumentFragment>
#include <QWidget>

#include <vector>

namespace sedilo::test {

// One row of a control table: object name, Qt kind, caption or text, tooltip.
struct ControlRow {
    const char* name;
    const char* kind;
    const char* text = nullptr;
    const char* toolTip = nullptr;
};

inline QString textOf(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    return widget->property("title").toString(); // group boxes
}

// The tooltip as the user reads it, markup taken away.
inline QString plainToolTip(const QWidget* widget)
{
    const QString tip = widget->toolTip();
    return Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText() : tip;
}

// Checks every row: the control exists under `root` with that kind, text and tooltip.
inline void checkControls(const QWidget* root, const std::vector<ControlRow>& rows)
{
    for (const ControlRow& row : rows) {
        const auto* widget = root->findChild<QWidget*>(QString::fromUtf8(row.name));
        QVERIFY2(widget, row.name);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), QString::fromLatin1(row.kind));
        if (row.text)
            QCOMPARE(textOf(widget), QString::fromUtf8(row.text));
        QCOMPARE(plainToolTip(widget), QString::fromUtf8(row.toolTip ? row.toolTip : ""));
    }
}

inline QColor backgroundOf(const QWidget* widget)
{
    return widget->palette().color(widget->backgroundRole());
}

} // namespace sedilo::test
