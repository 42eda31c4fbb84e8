#pragma once

#include <iosfwd>
#include <string>

#include "services/Prompt.h"

namespace sedilo::cli {

// Message boxes for the command line, where nobody can answer: questions are
// answered No, information goes to `out`, errors (with their detail) to `err`.
// A command reads errorShown() to tell success from failure.
class CliPrompt : public Prompt {
public:
    CliPrompt(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail = {}) override;
    void showPlain(const std::string& text, bool informationIcon) override;

    bool errorShown() const { return m_errorShown; }

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_errorShown = false;
};

} // namespace sedilo::cli
