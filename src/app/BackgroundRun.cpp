#include "BackgroundRun.h"

#include <QEventLoop>
#include <QtConcurrent/QtConcurrentRun>

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
    m_escapedFailure.clear();
    emit started();
    m_watcher.setFuture(QtConcurrent::run([this, work = std::move(work)] {
        try {
            work();
        } catch (const std::exception& failure) {
            m_escapedFailure = failure.what();
        } catch (...) {
            m_escapedFailure = "unknown failure";
        }
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
    if (!m_escapedFailure.empty())
        m_prompt.error(m_escapedFailure);
    const auto done = std::move(m_done);
    m_done = {};
    if (done)
        done();
    m_running = false;
    emit finished();
}

} // namespace sedilo::gui
