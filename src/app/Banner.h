#pragma once

#include <QPixmap>

namespace sedilo::gui {

inline constexpr int kBannerWidth = 850;
inline constexpr int kBannerHeight = 70;
// The banner hangs over the window's left edge by this much.
inline constexpr int kBannerLeft = -24;
inline constexpr const char* kBannerText = "操作步骤：导入基础数据->设置考室参数->生成考室编排表->考生查询数据导出";

// The picture across the top of the window: a blue gradient with the steps of
// the work, centred in the part inside the window. A wider window gets a
// wider picture.
QPixmap drawBanner(int width = kBannerWidth);

} // namespace sedilo::gui
