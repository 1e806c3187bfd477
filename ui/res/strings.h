#pragma once

namespace veltra::res {

inline constexpr const char* appName = "Veltra";
inline constexpr const char* appVersion = "1.1";

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
inline constexpr const char* discardEditsQuestion = "Discard unsaved edits?";
inline constexpr const char* oneFileAtATimeMessage = "Drop one bios file at a time!";

// The line a page shows when the image lacks some of its values, which it
// names as the save rules' messages do: "This bios has no Default Power and
// Max Power!".
inline constexpr const char* lackingLineStart = "This bios has no ";
inline constexpr const char* lackingLineEnd = "!";
inline constexpr const char* lackingListSeparator = ", ";
inline constexpr const char* lackingListLastSeparator = " and ";

inline constexpr const char* defaultFrequencyName = "Default Frequency";
inline constexpr const char* boostFrequencyName = "Boost Frequency";
inline constexpr const char* memoryFrequencyName = "Memory Frequency";
inline constexpr const char* boostTableName = "boost table";
inline constexpr const char* defaultPowerName = "Default Power";
inline constexpr const char* maxPowerName = "Max Power";
inline constexpr const char* powerLimitLoName = "Power Limit Lo";
inline constexpr const char* powerLimitHiName = "Power Limit Hi";
// The fan's two values are one range.
inline constexpr const char* fanSpeedRangeName = "fan speed range";
inline constexpr const char* maxVoltageName = "Max Voltage";
// A page of three or four values that the image lacks all of is named as
// one, so that its line stays one line.
inline constexpr const char* clocksName = "clocks";
inline constexpr const char* powerValuesName = "power values";

// `veltra --help`.
inline constexpr const char* commandLineDescription =
    "Edits the video BIOS images of GeForce 600 and 700 series (Kepler) boards.";
inline constexpr const char* helpOptionText = "Shows this help.";
inline constexpr const char* versionOptionText = "Shows the version.";
inline constexpr const char* fileArgumentText = "BIOS file to open at start.";

}  // namespace veltra::res
