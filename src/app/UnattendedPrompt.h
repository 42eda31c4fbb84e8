#pragma once

#include "services/Prompt.h"

namespace sedilo::gui {

// Message boxes for a run nobody watches (the screenshot job): every question
// is answered No, every message goes to standard error.
class UnattendedPrompt : public Prompt {
public:
    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail = {}) override;
    void showPlain(const std::string& text, bool informationIcon) override;
};

} // namespace sedilo::gui
