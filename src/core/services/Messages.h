#pragma once

#include <string>

namespace sedilo::messages {

// Texts shared by several operations; each is the system's own wording.
inline constexpr const char* kTitle = "Zarvo软件";
inline constexpr const char* kNoExcel = "你的电脑可能没安装完整版的Excel！";
inline constexpr const char* kNoOutputFolder = "没选择考室文件生成路径！";
inline constexpr const char* kCannotOpenFolder = "无法打开输出文件夹！";
inline constexpr const char* kTemplateMissingSuffix = "模板文件不存在！";
inline constexpr const char* kDoNotOperate = "生成过程中请勿进行任何操作（更不能启动或打开任何Excel表）！";

// The query export's closing message when examinees without a room were left
// out; with everyone exported it is "所有考生查询数据导出完毕！".
inline std::string exportLeftOut(long exported, long leftOut)
{
    return "查询数据导出完毕：导出了" + std::to_string(exported) + "位考生，另有" + std::to_string(leftOut) +
           "位考生因没有指定考室未导出！";
}

// The closing message's last line under "同单位不相邻": how many neighbouring
// seat pairs still hold one unit, the pairs themselves in the details.
inline std::string sameUnitNeighbours(std::size_t pairs)
{
    if (pairs == 0)
        return "同单位考生均未相邻就座。";
    return "有" + std::to_string(pairs) + "对相邻座位坐着同单位考生，详见详细信息。";
}

inline std::string sameUnitNotListed(std::size_t pairs)
{
    return "……另有" + std::to_string(pairs) + "对未列出。";
}

} // namespace sedilo::messages
