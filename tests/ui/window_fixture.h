#pragma once

#include <gtest/gtest.h>
#include <map>
#include <string>

#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/driver.h"
#include "ui/framework/scripted_prompts.h"
#include "ui/res/resource_ids.h"
#include "ui/veltra_dlg.h"

namespace veltra::testing {

enum Tab { frequencyTab, boostTab, powerTab, fanTab, voltageTab };

// Every value of a BiosInfo by name, so two records compare with a readable
// difference.
std::map<std::string, std::string> describe(const BiosInfo& info);
// A number as describe spells it.
std::string described(double value);

// A clock as the window shows it: two decimals, a dot in every locale.
std::string twoDecimals(double value);

// A created and shown main window with scripted prompts, driven through the
// framework and the backend's driver alone.
class WindowTest : public ::testing::Test {
protected:
    WindowTest();

    CEdit& edit(int id) const;
    CEdit& pageEdit(int tab, int id) const;
    CButton& button(int id) const;
    CTabCtrl& tabs() const;
    CColorEdit& checksum() const;
    int visiblePage() const;  // -1 unless exactly one page is visible

    // What the user does, through the window's real input paths.
    // Picks the tab with a click on its caption.
    void selectTab(int tab);
    // Shows the tab, clicks the edit, selects its text and types over it.
    void typeInto(int tab, int id, const std::string& text);
    void clickButton(int id);
    // Keys pressed where the keyboard focus is, e.g. "Ctrl+S".
    void press(const std::string& keys);
    // The close button of the window's frame.
    void closeWindow();

    std::filesystem::path writeImage(const std::string& name, const ImageSpec& spec) const;
    // "Open BIOS" answered with `path`.
    void open(const std::filesystem::path& path);
    void saveAs(const std::filesystem::path& path);

    // What the user sees: every field, page text, colour, button state and
    // the selected and visible page.
    std::map<std::string, std::string> visibleState() const;

    ScriptedPrompts prompts;
    TempDir dir;
    CVeltraDlg dlg;
};

}  // namespace veltra::testing
