#pragma once

#include <array>

#include "ui/res/resource_ids.h"
#include "ui/framework/dialog_template.h"

namespace veltra::res {

using K = ControlKind;
constexpr int none = noControlId;
constexpr int shellFontPoints = 8;

inline constexpr std::array mainControls = {
    ControlTemplate{none, K::GroupBox, "", 7, 7, 273, 92},
    ControlTemplate{none, K::Label, "Name", 26, 22, 19, 8},
    ControlTemplate{nameEditId, K::IdentityEdit, "", 47, 19, 153, 14},
    ControlTemplate{none, K::Label, "Board", 25, 41, 20, 8},
    ControlTemplate{boardEditId, K::IdentityEdit, "", 47, 38, 153, 14},
    ControlTemplate{none, K::Label, "Date", 29, 60, 16, 8},
    ControlTemplate{dateEditId, K::IdentityEdit, "", 47, 57, 59, 14},
    ControlTemplate{none, K::Label, "Version", 115, 60, 24, 8},
    ControlTemplate{versionEditId, K::IdentityEdit, "", 141, 57, 59, 14},
    ControlTemplate{openBiosButtonId, K::PushButton, "Open BIOS", 7, 252, 50, 14},
    ControlTemplate{saveBiosButtonId, K::PushButton, "Save BIOS", 63, 252, 50, 14},
    ControlTemplate{saveBiosAsButtonId, K::PushButton, "Save BIOS As", 119, 252, 50, 14},
    ControlTemplate{pictureId, K::Picture, "", 204, 19, 68, 52},
    ControlTemplate{tabControlId, K::TabControl, "", 7, 105, 273, 143},
    ControlTemplate{none, K::Label, "Filename", 110, 79, 29, 8},
    ControlTemplate{fileNameEditId, K::IdentityEdit, "", 141, 76, 131, 14},
    ControlTemplate{none, K::Label, "Device ID", 13, 79, 32, 8},
    ControlTemplate{deviceIdEditId, K::IdentityEdit, "", 47, 76, 59, 14},
    ControlTemplate{none, K::Label, "Checksum", 203, 255, 33, 8},
    ControlTemplate{checksumEditId, K::IdentityEdit, "", 240, 252, 40, 14},
};

inline constexpr std::array aboutControls = {
    ControlTemplate{none, K::Icon, "", 14, 14, 20, 20, appIconId},
    ControlTemplate{none, K::PlainLabel, "Veltra, Version 1.1", 42, 14, 114, 8},
    ControlTemplate{none, K::Label, "BIOS image editor", 42, 26, 114, 8},
    ControlTemplate{okButtonId, K::DefPushButton, "OK", 113, 41, 50, 14},
};

inline constexpr std::array frequencyControls = {
    ControlTemplate{none, K::Label, "GPU Default Frequency", 17, 15, 76, 8},
    ControlTemplate{gpuClockEditId, K::ValueEdit, "", 100, 12, 42, 14},
    ControlTemplate{none, K::Label, "GPU Boost Frequency", 17, 37, 70, 8},
    ControlTemplate{boostClockEditId, K::ValueEdit, "", 100, 34, 42, 14},
    ControlTemplate{none, K::Label, "Memory Frequency", 17, 59, 62, 8},
    ControlTemplate{memClockEditId, K::ValueEdit, "", 100, 56, 42, 14},
    ControlTemplate{none, K::Label, "Mhz", 145, 15, 14, 8},
    ControlTemplate{none, K::Label, "Mhz", 145, 37, 14, 8},
    ControlTemplate{none, K::Label, "Mhz", 145, 59, 14, 8},
    ControlTemplate{lackingLineId, K::WrappedLabel, "", 17, 82, 240, 18},
};

inline constexpr std::array fanControls = {
    ControlTemplate{none, K::Label, "Minimum", 17, 15, 28, 8},
    ControlTemplate{fanMinEditId, K::ValueEdit, "", 68, 12, 40, 14},
    ControlTemplate{none, K::Label, "Maximum", 17, 37, 30, 8},
    ControlTemplate{fanMaxEditId, K::ValueEdit, "", 68, 34, 40, 14},
    ControlTemplate{none, K::Label, "%", 113, 15, 8, 8},
    ControlTemplate{none, K::Label, "%", 113, 37, 8, 8},
    ControlTemplate{lackingLineId, K::WrappedLabel, "", 17, 60, 240, 18},
};

inline constexpr std::array powerControls = {
    ControlTemplate{none, K::Label, "Default Power", 17, 15, 46, 8},
    ControlTemplate{powerDefaultEditId, K::ValueEdit, "", 68, 12, 40, 14},
    ControlTemplate{none, K::Label, "Max Power", 17, 37, 36, 8},
    ControlTemplate{powerMaxEditId, K::ValueEdit, "", 68, 34, 40, 14},
    ControlTemplate{none, K::Label, "W", 113, 15, 8, 8},
    ControlTemplate{none, K::Label, "W", 113, 37, 8, 8},
    ControlTemplate{none, K::Label, "Power Limit Lo", 17, 59, 46, 8},
    ControlTemplate{none, K::Label, "Power Limit Hi", 17, 81, 45, 8},
    ControlTemplate{powerLimitLoEditId, K::ValueEdit, "", 68, 56, 40, 14},
    ControlTemplate{powerLimitHiEditId, K::ValueEdit, "", 68, 78, 40, 14},
    ControlTemplate{none, K::Label, "W", 113, 59, 8, 8},
    ControlTemplate{none, K::Label, "W", 115, 81, 8, 8},
    ControlTemplate{none, K::EtchedLine, "", 7, 51, 255, 1},
    ControlTemplate{lackingLineId, K::WrappedLabel, "", 17, 104, 240, 18},
};

inline constexpr std::array voltageControls = {
    ControlTemplate{none, K::Label, "Max Voltage", 17, 15, 40, 8},
    ControlTemplate{voltageEditId, K::ValueEdit, "", 68, 12, 40, 14},
    ControlTemplate{none, K::Label, "mV", 113, 15, 15, 8},
    ControlTemplate{lackingLineId, K::WrappedLabel, "", 17, 38, 240, 18},
};

inline constexpr DialogTemplate mainDialog{mainDialogId, "Veltra v1.1", 287, 273, shellFontPoints, mainControls};
inline constexpr DialogTemplate aboutDialog{aboutDialogId, "About Veltra", 170, 62, shellFontPoints, aboutControls};
inline constexpr DialogTemplate frequencyPage{frequencyPageId, "", 309, 178, shellFontPoints, frequencyControls};
inline constexpr DialogTemplate fanPage{fanPageId, "", 309, 177, shellFontPoints, fanControls};
// The Boost grid is built at run time.
inline constexpr DialogTemplate boostPage{boostPageId, "", 309, 178, shellFontPoints, {}};
inline constexpr DialogTemplate powerPage{powerPageId, "", 309, 177, shellFontPoints, powerControls};
inline constexpr DialogTemplate voltagePage{voltagePageId, "", 309, 177, shellFontPoints, voltageControls};

// Keys for the main window's commands.
inline constexpr Accelerator mainAccelerators[] = {
    {"Ctrl+O", openBiosButtonId},
    {"Ctrl+S", saveBiosButtonId},
    {"Ctrl+Shift+S", saveBiosAsButtonId},
    {"F1", aboutCommandId},
};

// The template with this id; the main window's for an unknown one.
const DialogTemplate& dialogTemplate(int id);

}  // namespace veltra::res
