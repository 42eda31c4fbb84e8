#pragma once

#include <QFutureWatcher>
#include <QObject>

#include <functional>
#include <optional>

#include "services/Prompt.h"

namespace sedilo::gui {

// Runs the window's long operations (import, generation, export) one at a
// time off the user-interface thread, so that the window keeps painting and
// shows their progress and message boxes. The work may touch only what the
// window leaves alone while `started` … `finished` lasts.
class BackgroundRun : public QObject {
    Q_OBJECT
public:
    // A failure that escapes the work is shown through `prompt` rather than lost.
    explicit BackgroundRun(Prompt& prompt, QObject* parent = nullptr);
    ~BackgroundRun() override;

    bool isRunning() const { return m_running; }

    // Starts `work` on a pool thread and then `done` on this object's thread.
    // Refused (false) while another run is going.
    bool start(std::function<void()> work, std::function<void()> done = {});

    // Returns once the current run, if any, has finished and its `done` has
    // run. Events go on being handled meanwhile: the run may be waiting for an
    // answer to one of its message boxes.
    void waitForFinished();

signals:
    void started();
    void finished();

private:
    void onWorkFinished();

    Prompt& m_prompt;
    QFutureWatcher<void> m_watcher;
    std::function<void()> m_done;
    std::optional<Cause> m_escapedFailure; // written by the work, read after it finished
    bool m_running = false;
};

} // namespace sedilo::gui
