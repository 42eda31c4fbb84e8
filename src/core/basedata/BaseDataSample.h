#pragma once

#include <filesystem>
#include <vector>

#include "services/Prompt.h"
#include "services/ShellDialogs.h"

namespace sedilo::basedata {

// `PushButton6`: shows the user what a base-data workbook looks like. Each
// click writes a new sample workbook ("工作簿1.xlsx", "工作簿2.xlsx", … as a
// new workbook is named) into a temporary folder of this program run, never
// beside the program, and hands it to the desktop. The samples go with the
// object, except those the user has saved over meanwhile: the sample stays the
// user's to keep, and typing a list into it and saving must not lose the list.
class BaseDataSample {
public:
    // The folder is made inside `parent` at the first click.
    explicit BaseDataSample(std::filesystem::path parent = std::filesystem::temp_directory_path());
    ~BaseDataSample();
    BaseDataSample(const BaseDataSample&) = delete;
    BaseDataSample& operator=(const BaseDataSample&) = delete;

    // Any failure ends with "你的电脑可能没安装完整版的Excel！" and its cause.
    void show(ShellDialogs& dialogs, Prompt& prompt);

    const std::filesystem::path& folder() const { return m_folder; }

private:
    std::filesystem::path writeSample();

    struct WrittenSample {
        std::filesystem::path path;
        std::uintmax_t size;
        std::filesystem::file_time_type writeTime;
    };

    std::filesystem::path m_parent;
    std::filesystem::path m_folder; // empty until the first click
    int m_lastNumber = 0;
    std::vector<WrittenSample> m_written;
};

} // namespace sedilo::basedata
