#include "export/ExportProgress.h"

#include <string>

namespace sedilo::exporting {

void ExportProgress::count()
{
    ++m_count;
    if (m_count == 1 || m_count % kStep == 0)
        show();
}

void ExportProgress::flush()
{
    if (m_count != m_shown)
        show();
}

void ExportProgress::show()
{
    m_progress.setValue(m_count);
    m_progress.setStatus("正在导出第" + std::to_string(m_count) + "位考生！");
    m_shown = m_count;
}

} // namespace sedilo::exporting
