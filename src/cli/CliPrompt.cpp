#include "CliPrompt.h"

#include <ostream>

namespace sedilo::cli {

PromptAnswer CliPrompt::show(PromptStyle style, const std::string& text, const std::string& detail)
{
    switch (style) {
    case PromptStyle::Question:
    case PromptStyle::QuestionDefaultNo:
        m_err << text << " (no one to answer: No)\n";
        return PromptAnswer::No;
    case PromptStyle::Error:
        m_errorShown = true;
        m_err << text << "\n";
        if (!detail.empty())
            m_err << "  cause: " << detail << "\n";
        return PromptAnswer::Ok;
    case PromptStyle::Information:
        m_out << text << "\n";
        return PromptAnswer::Ok;
    }
    return PromptAnswer::Ok;
}

void CliPrompt::showPlain(const std::string& text, bool /*informationIcon*/)
{
    m_err << text << "\n";
}

} // namespace sedilo::cli
