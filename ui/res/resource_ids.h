#pragma once

// Numeric ids of the program's templates, strings, images and controls.
namespace veltra::res {

constexpr int aboutDialogId = 100;
constexpr int aboutMenuStringId = 101;
constexpr int mainDialogId = 102;
constexpr int appIconId = 128;
constexpr int frequencyPageId = 129;
constexpr int fanPageId = 130;
constexpr int boostPageId = 131;
constexpr int powerPageId = 132;
constexpr int logoBitmapId = 133;
constexpr int voltagePageId = 134;

// Main window.
constexpr int nameEditId = 1000;
constexpr int boardEditId = 1001;
constexpr int dateEditId = 1002;
constexpr int versionEditId = 1003;
constexpr int openBiosButtonId = 1004;
constexpr int saveBiosButtonId = 1005;
constexpr int saveBiosAsButtonId = 1006;
constexpr int pictureId = 1007;
constexpr int tabControlId = 1008;
constexpr int fileNameEditId = 1009;
constexpr int checksumEditId = 1010;
constexpr int deviceIdEditId = 1012;

// Pages.
constexpr int gpuClockEditId = 1012;
constexpr int boostClockEditId = 1013;
constexpr int memClockEditId = 1011;
constexpr int powerDefaultEditId = 1009;
constexpr int powerMaxEditId = 1010;
constexpr int powerLimitLoEditId = 1011;
constexpr int powerLimitHiEditId = 1012;
constexpr int fanMinEditId = 1009;
constexpr int fanMaxEditId = 1010;
constexpr int voltageEditId = 1009;
constexpr int firstBoostEditId = 12345;
// The line that says what the image lacks, on every page.
constexpr int lackingLineId = 1020;

// About box.
constexpr int okButtonId = 1;

// The About item of the window's menu, also run by F1.
constexpr int aboutCommandId = 0x0010;

}  // namespace veltra::res
