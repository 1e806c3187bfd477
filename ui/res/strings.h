#pragma once

namespace veltra::res {

// String 101: the About item of the window's menu.
inline constexpr const char* aboutMenuText = "&About Veltra...";

inline constexpr const char* tabCaptions[] = {"Frequency", "Boost", "Power", "Fan", "Voltage"};

// The file dialogs of "Open BIOS" and "Save BIOS As".
inline constexpr const char* openDialogTitle = "Open BIOS";
inline constexpr const char* saveDialogTitle = "Save BIOS As";
inline constexpr const char* romFileFilter = "BIOS File(*.rom)";
inline constexpr const char* romFileSuffix = "rom";

inline constexpr const char* loadFailedMessage = "Load bios file failed!";
inline constexpr const char* unknownGpuMessage = "Unknow GPU!";

}  // namespace veltra::res
