#pragma once

#include <functional>
#include <mutex>
#include <string>

namespace sedilo {

// What a progress bar and its status label show.
struct ProgressState {
    int minimum = 0;
    int maximum = 100;
    int value = 0;
    bool visible = true;
    std::string status;
};

// A progress bar (and its status label) as the core sees it. Long operations
// may run off the user-interface thread; the listener receives a copy of the
// state after each change and decides itself how often to repaint.
class ProgressControl {
public:
    using Listener = std::function<void(const ProgressState&)>;

    ProgressState state() const;
    void setListener(Listener listener);

    void setRange(int minimum, int maximum);
    void setValue(int value);
    void setMaximumValue(); // value = maximum
    void setVisible(bool visible);
    void setStatus(const std::string& status);

private:
    void changed(std::unique_lock<std::mutex>& lock);

    mutable std::mutex m_mutex;
    ProgressState m_state;
    Listener m_listener;
};

} // namespace sedilo
