#include "UiStyle.h"

#include <QPalette>
#include <QWidget>

namespace sedilo::gui {

QFont songTi(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(pointSize);
    return font;
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

void setBackgroundColor(QWidget* widget, const QColor& color)
{
    // Buttons (check boxes and radio buttons too) fill with the Button role, other widgets with Window.
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void makeFlat(QWidget* edit)
{
    edit->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid rgb(127, 157, 185); background: white; }"));
}

} // namespace sedilo::gui
