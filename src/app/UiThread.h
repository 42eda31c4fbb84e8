#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace sedilo::gui {

// Runs `function` on the thread `owner` lives on and returns when it is done.
// Called from that thread it runs at once; from any other thread the caller
// waits while the owner's event loop runs it, so the owner's thread must
// never wait for the caller.
template <typename Function> void runOnThreadOf(QObject* owner, Function function)
{
    if (QThread::currentThread() == owner->thread())
        function();
    else
        QMetaObject::invokeMethod(owner, function, Qt::BlockingQueuedConnection);
}

} // namespace sedilo::gui
