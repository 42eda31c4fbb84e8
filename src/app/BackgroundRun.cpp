#include "BackgroundRun.h"

#include <QEventLoop>
#include <QtConcurrent/QtConcurrentRun>

#include "app/MemoryReuse.h"
#include "services/Messages.h"

namespace sedilo::gui {

BackgroundRun::BackgroundRun(Prompt& prompt, QObject* parent) : QObject(parent), m_prompt(prompt)
{
    connect(&m_watcher, &QFutureWatcher<void>::finished, this, &BackgroundRun::onWorkFinished);
}

BackgroundRun::~BackgroundRun()
{
    waitForFinished();
}

bool BackgroundRun::start(std::function<void()> work, std::function<void()> done)
{
    if (m_running)
        return false;
    m_running = true;
    m_done = std::move(done);
    m_escapedFailure.reset();
    emit started();
    m_watcher.setFuture(QtConcurrent::run([this, work = std::move(work)] {
        try {
            work();
        } catch (...) {
            m_escapedFailure = CauseOf(std::current_exception());
        }
        session::returnFreedMemory(); // the window may now sit idle for long
    }));
    return true;
}

void BackgroundRun::waitForFinished()
{
    if (!m_running)
        return;
    QEventLoop loop;
    connect(this, &BackgroundRun::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

void BackgroundRun::onWorkFinished()
{
    if (m_escapedFailure)
        m_prompt.fail(messages::kActionFailed, *m_escapedFailure);
    const auto done = std::move(m_done);
    m_done = {};
    if (done)
        done();
    m_running = false;
    emit finished();
}

} // namespace sedilo::gui
