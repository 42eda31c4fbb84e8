#include "ProgressBinding.h"

#include <QLabel>
#include <QProgressBar>

namespace sedilo::gui {

ProgressBinding::ProgressBinding(ProgressControl& control, QProgressBar* bar, QLabel* status, QObject* parent)
    : QObject(parent), m_control(control), m_bar(bar), m_status(status)
{
    m_control.setListener([this](const ProgressState&) {
        if (!m_updateQueued.exchange(true))
            QMetaObject::invokeMethod(this, [this] { apply(); }, Qt::QueuedConnection);
    });
    apply();
}

ProgressBinding::~ProgressBinding()
{
    m_control.setListener({});
}

void ProgressBinding::apply()
{
    m_updateQueued = false;
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
