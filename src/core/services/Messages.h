#pragma once

namespace sedilo::messages {

// Texts shared by several operations; each is the system's own wording.
inline constexpr const char* kTitle = "Zarvo软件";
inline constexpr const char* kNoExcel = "你的电脑可能没安装完整版的Excel！";
inline constexpr const char* kNoOutputFolder = "没选择考室文件生成路径！";
inline constexpr const char* kTemplateMissingSuffix = "模板文件不存在！";
// The first line of a failure no operation caught itself.
inline constexpr const char* kActionFailed = "操作未能完成！";
inline constexpr const char* kDoNotOperate = "生成过程中请勿进行任何操作（更不能启动或打开任何Excel表）！";

} // namespace sedilo::messages
