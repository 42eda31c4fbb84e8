#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>

#include "services/ProgressControl.h"

class QLabel;
class QProgressBar;

namespace sedilo::gui {

// Shows a core ProgressControl in a progress bar and, where it has one, its
// status label. The core may report from a worker thread and far more often
// than an eye can follow: reports are coalesced into one queued update that
// shows the latest state.
class ProgressBinding : public QObject {
    Q_OBJECT
public:
    ProgressBinding(ProgressControl& control, QProgressBar* bar, QLabel* status, QObject* parent = nullptr);
    ~ProgressBinding() override;

    // Shows the control's current state now.
    void apply();

private:
    ProgressControl& m_control;
    QPointer<QProgressBar> m_bar;
    QPointer<QLabel> m_status;
    std::atomic_bool m_updateQueued{false};
};

} // namespace sedilo::gui
