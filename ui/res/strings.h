#pragma once

namespace veltra::res {

// String 101: the About item of the window's menu.
inline constexpr const char* aboutMenuText = "&About Veltra...";

inline constexpr const char* tabCaptions[] = {"Frequency", "Boost", "Power", "Fan", "Voltage"};

inline constexpr const char* loadFailedMessage = "Load bios file failed!";
inline constexpr const char* unknownGpuMessage = "Unknow GPU!";

}  // namespace veltra::res
