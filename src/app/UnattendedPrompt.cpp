#include "UnattendedPrompt.h"

#include <iostream>

namespace sedilo::gui {

PromptAnswer UnattendedPrompt::show(PromptStyle style, const std::string& text, const std::string& detail)
{
    if (isQuestion(style))
        return PromptAnswer::No;
    std::cerr << text;
    if (!detail.empty() && text.find(detail) == std::string::npos)
        std::cerr << " (" << detail << ")";
    std::cerr << '\n';
    return PromptAnswer::Ok;
}

void UnattendedPrompt::showPlain(const std::string& text, bool)
{
    std::cerr << text << '\n';
}

} // namespace sedilo::gui
