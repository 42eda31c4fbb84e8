#include "UiThreadPrompt.h"

#include "UiThread.h"

namespace sedilo::gui {

UiThreadPrompt::UiThreadPrompt(Prompt& inner, QObject* parent) : QObject(parent), m_inner(inner) {}

PromptAnswer UiThreadPrompt::show(PromptStyle style, const std::string& text, const std::string& detail)
{
    PromptAnswer answer = PromptAnswer::Ok;
    runOnThreadOf(this, [&] {
        emit aboutToShow();
        answer = m_inner.show(style, text, detail);
    });
    return answer;
}

void UiThreadPrompt::showPlain(const std::string& text, bool informationIcon)
{
    runOnThreadOf(this, [&] {
        emit aboutToShow();
        m_inner.showPlain(text, informationIcon);
    });
}

} // namespace sedilo::gui
