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

        // A failure box's first line (the operation's message) and the
        // lines after it (the Chinese cause).
        std::string headline() const { return text.substr(0, text.find('\n')); }
        std::string causeText() const
        {
            const auto end = text.find('\n');
            return end == std::string::npos ? std::string() : text.substr(end + 1);
        }
    };

    // Answers for the coming question boxes, in order; unscripted questions get No.
    void answerNext(PromptAnswer answer) { m_answers.push_back(answer); }

    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail = {}) override;
    void showPlain(const std::string& text, bool informationIcon) override;

    const std::vector<Shown>& shown() const { return m_shown; }
    std::vector<std::string> texts() const;
    std::vector<std::string> headlines() const;
    void clear() { m_shown.clear(); }

private:
    std::deque<PromptAnswer> m_answers;
    std::vector<Shown> m_shown;
};

} // namespace sedilo::test
