#include "services/ProgressControl.h"

namespace sedilo {

ProgressState ProgressControl::state() const
{
    std::lock_guard lock(m_mutex);
    return m_state;
}

void ProgressControl::setListener(Listener listener)
{
    std::lock_guard lock(m_mutex);
    m_listener = std::move(listener);
}

void ProgressControl::setRange(int minimum, int maximum)
{
    std::unique_lock lock(m_mutex);
    m_state.minimum = minimum;
    m_state.maximum = maximum;
    changed(lock);
}

void ProgressControl::setValue(int value)
{
    std::unique_lock lock(m_mutex);
    m_state.value = value;
    changed(lock);
}

void ProgressControl::setMaximumValue()
{
    std::unique_lock lock(m_mutex);
    m_state.value = m_state.maximum;
    changed(lock);
}

void ProgressControl::setVisible(bool visible)
{
    std::unique_lock lock(m_mutex);
    m_state.visible = visible;
    changed(lock);
}

void ProgressControl::setStatus(const std::string& status)
{
    std::unique_lock lock(m_mutex);
    m_state.status = status;
    changed(lock);
}

void ProgressControl::changed(std::unique_lock<std::mutex>& lock)
{
    // Call the listener outside the lock so it may read state() itself.
    const ProgressState copy = m_state;
    const Listener listener = m_listener;
    lock.unlock();
    if (listener)
        listener(copy);
}

} // namespace sedilo
