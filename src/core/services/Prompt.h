#pragma once

#include <string>

namespace sedilo {

// The system's message boxes. Every box the core shows goes through this one
// interface so that the window shows real boxes and tests answer them.
enum class PromptStyle {
    Question,    // Yes/No buttons, question icon
    QuestionDefaultNo, // the same, Enter answering No: Yes destroys something
    Error,       // OK button, error icon
    Information, // OK button, information icon
};

enum class PromptAnswer { Ok, Yes, No };

inline bool isQuestion(PromptStyle style)
{
    return style == PromptStyle::Question || style == PromptStyle::QuestionDefaultNo;
}

class Prompt {
public:
    virtual ~Prompt() = default;

    // A box titled "Zarvo软件". `detail` becomes the box's detailed text (the
    // real cause behind a general failure message); empty means none.
    virtual PromptAnswer show(PromptStyle style, const std::string& text,
                              const std::string& detail = {}) = 0;

    // A box with the application's default title and an OK button, used only
    // by the name cipher's own warnings. `informationIcon` false means no icon.
    virtual void showPlain(const std::string& text, bool informationIcon) = 0;

    bool ask(const std::string& text) { return show(PromptStyle::Question, text) == PromptAnswer::Yes; }
    // For a question whose Yes deletes data or ends a program.
    bool askDefaultNo(const std::string& text)
    {
        return show(PromptStyle::QuestionDefaultNo, text) == PromptAnswer::Yes;
    }
    void error(const std::string& text, const std::string& detail = {}) { show(PromptStyle::Error, text, detail); }
    void inform(const std::string& text) { show(PromptStyle::Information, text); }
};

} // namespace sedilo
