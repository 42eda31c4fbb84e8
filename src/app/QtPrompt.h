#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "services/Prompt.h"

namespace sedilo::gui {

// The message boxes as Qt shows them. Safe to call from a worker thread: the
// box is then shown on the user-interface thread while the caller waits.
class QtPrompt : public QObject, public Prompt {
    Q_OBJECT
public:
    explicit QtPrompt(QObject* parent = nullptr);

    // The window the boxes are modal to.
    void setParentWindow(QWidget* window) { m_window = window; }

    PromptAnswer show(PromptStyle style, const std::string& text, const std::string& detail = {}) override;
    void showPlain(const std::string& text, bool informationIcon) override;

private:
    PromptAnswer showHere(PromptStyle style, const std::string& text, const std::string& detail);
    void showPlainHere(const std::string& text, bool informationIcon);

    QPointer<QWidget> m_window;
};

} // namespace sedilo::gui
