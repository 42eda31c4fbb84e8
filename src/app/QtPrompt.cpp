#include "QtPrompt.h"

#include <QGuiApplication>
#include <QMessageBox>

#include "UiThread.h"
#include "services/Messages.h"

namespace sedilo::gui {

QtPrompt::QtPrompt(QObject* parent) : QObject(parent) {}

PromptAnswer QtPrompt::show(PromptStyle style, const std::string& text, const std::string& detail)
{
    PromptAnswer answer = PromptAnswer::Ok;
    runOnThreadOf(this, [&] { answer = showHere(style, text, detail); });
    return answer;
}

void QtPrompt::showPlain(const std::string& text, bool informationIcon)
{
    runOnThreadOf(this, [&] { showPlainHere(text, informationIcon); });
}

PromptAnswer QtPrompt::showHere(PromptStyle style, const std::string& text, const std::string& detail)
{
    QMessageBox box(m_window);
    box.setWindowTitle(QString::fromUtf8(messages::kTitle));
    box.setText(QString::fromStdString(text));
    if (!detail.empty())
        box.setDetailedText(QString::fromStdString(detail));
    switch (style) {
    case PromptStyle::Question:
    case PromptStyle::QuestionDefaultNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(style == PromptStyle::Question ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    case PromptStyle::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case PromptStyle::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return PromptAnswer::Ok;
}

void QtPrompt::showPlainHere(const std::string& text, bool informationIcon)
{
    QMessageBox box(m_window);
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
    box.setText(QString::fromStdString(text));
    box.setIcon(informationIcon ? QMessageBox::Information : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace sedilo::gui
