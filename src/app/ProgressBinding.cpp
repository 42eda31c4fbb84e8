#include "ProgressBinding.h"

#include <QLabel>
#include <QProgressBar>
#include <QThread>

namespace sedilo::gui {

ProgressBinding::ProgressBinding(ProgressControl& control, QProgressBar* bar, QLabel* status, QObject* parent)
    : QObject(parent), m_control(control), m_bar(bar), m_status(status)
{
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, &ProgressBinding::apply);
    m_control.setListener([this](const ProgressState&) {
        if (QThread::currentThread() == thread())
            apply();
        else if (!m_updateQueued.exchange(true))
            QMetaObject::invokeMethod(this, [this] { showSoon(); }, Qt::QueuedConnection);
    });
    apply();
}

ProgressBinding::~ProgressBinding()
{
    m_control.setListener({});
}

void ProgressBinding::showSoon()
{
    if (m_delay.isActive())
        return;
    const qint64 wait = kInterval - m_sinceApply.elapsed();
    if (wait <= 0)
        apply();
    else
        m_delay.start(static_cast<int>(wait));
}

void ProgressBinding::flush()
{
    if (m_updateQueued)
        apply();
}

void ProgressBinding::apply()
{
    m_updateQueued = false;
    m_delay.stop();
    m_sinceApply.restart();
    const ProgressState state = m_control.state();
    if (m_bar) {
        m_bar->setRange(state.minimum, std::max(state.minimum, state.maximum));
        m_bar->setValue(std::clamp(state.value, state.minimum, std::max(state.minimum, state.maximum)));
        m_bar->setVisible(state.visible);
    }
    if (m_status) {
        m_status->setText(QString::fromStdString(state.status));
        m_status->setVisible(state.visible);
    }
}

} // namespace sedilo::gui
