#pragma once

#include "services/ProgressControl.h"

namespace sedilo::exporting {

// The examinee counter on `cxdcscpro` and its label "正在导出第n位考生！".
// A repaint per examinee would cost more than the export itself, so the
// display follows the first examinee, every kStep-th one, and the last one
// once flush() is called.
class ExportProgress {
public:
    static constexpr int kStep = 100;

    explicit ExportProgress(ProgressControl& progress) : m_progress(progress) {}

    void count();
    void flush();

private:
    void show();

    ProgressControl& m_progress;
    int m_count = 0;
    int m_shown = 0;
};

} // namespace sedilo::exporting
