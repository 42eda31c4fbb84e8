#include "support/ScriptedPrompt.h"

namespace sedilo::test {

PromptAnswer ScriptedPrompt::show(PromptStyle style, const std::string& text, const std::string& detail)
{
    m_shown.push_back({style, text, detail});
    if (!isQuestion(style))
        return PromptAnswer::Ok;
    if (m_answers.empty())
        return PromptAnswer::No;
    const PromptAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedPrompt::showPlain(const std::string& text, bool informationIcon)
{
    m_shown.push_back({PromptStyle::Information, text, {}, true, informationIcon});
}

std::vector<std::string> ScriptedPrompt::texts() const
{
    std::vector<std::string> out;
    for (const auto& box : m_shown)
        out.push_back(box.text);
    return out;
}

} // namespace sedilo::test
