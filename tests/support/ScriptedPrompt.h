#pragma once

#include <deque>
#include <string>
#include <vector>

#include "services/Prompt.h"

namespace sedilo::test {

// Answers message boxes from a script and records every box shown.
class ScriptedPrompt : public Prompt {
public:
    struct Shown {
        PromptStyle style;
        std::string text;
        std::string detail;
        bool plain = false; // a cipher warning with the default title
        bool informationIcon = false;
    };

    // Answers for the coming question boxes, in order; unscripted questions get No.
    void answerNext(PromptAnswer answer) { m_answers.push_back(answer); }

    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail = {}) override;
    void showPlain(const std::string& text, bool informationIcon) override;

    const std::vector<Shown>& shown() const { return m_shown; }
    std::vector<std::string> texts() const;
    void clear() { m_shown.clear(); }

private:
    std::deque<PromptAnswer> m_answers;
    std::vector<Shown> m_shown;
};

} // namespace sedilo::test
