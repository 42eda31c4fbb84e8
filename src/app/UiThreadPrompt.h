#pragma once

#include <QObject>

#include "services/Prompt.h"

namespace sedilo::gui {

// Hands every message box to `inner` on the user-interface thread, whichever
// thread asks. The long operations run off that thread and show their boxes
// through this, so that a box comes up at the point of the run that shows it
// while the run waits for the answer.
class UiThreadPrompt : public QObject, public Prompt {
    Q_OBJECT
public:
    explicit UiThreadPrompt(Prompt& inner, QObject* parent = nullptr);

    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail = {}) override;
    void showPlain(const std::string& text, bool informationIcon) override;

signals:
    // On the user-interface thread, just before a box comes up.
    void aboutToShow();

private:
    Prompt& m_inner;
};

} // namespace sedilo::gui
