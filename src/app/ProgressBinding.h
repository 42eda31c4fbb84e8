#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

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
    static constexpr int kInterval = 40;

    ProgressBinding(ProgressControl& control, QProgressBar* bar, QLabel* status, QObject* parent = nullptr);
    ~ProgressBinding() override;

    // Shows the control's current state now.
    void apply();
    // Shows it now if a report from a worker is still waiting to be shown.
    void flush();

private:
    void showSoon();

    ProgressControl& m_control;
    QPointer<QProgressBar> m_bar;
    QPointer<QLabel> m_status;
    std::atomic_bool m_updateQueued{false};
    QElapsedTimer m_sinceApply;
    QTimer m_delay;
};

} // namespace sedilo::gui
