#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <string>

#include "ui/res/resource_ids.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"
#include "ui/framework/scripted_prompts.h"
#include "ui/veltra_dlg.h"

namespace veltra::testing {

enum Tab { frequencyTab, boostTab, powerTab, fanTab, voltageTab };

inline QString qpath(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

inline std::vector<std::string> texts(const std::vector<QString>& list)
{
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

// Every value of a BiosInfo by name, so two records compare with a readable
// difference.
std::map<std::string, std::string> describe(const BiosInfo& info);

// A created and shown main window with scripted prompts.
class WindowTest : public ::testing::Test {
protected:
    WindowTest();

    QLineEdit& edit(int id) const;
    QLineEdit& pageEdit(int tab, int id) const;
    QPushButton& button(int id) const;
    CTabCtrl& tabs() const;
    // The user picks a tab.
    void selectTab(int tab);
    int visiblePage() const;  // -1 unless exactly one page is visible

    // What the user does, through the window's real input paths.
    // Picks the tab with a click on its caption.
    void clickTab(int tab);
    // Clicks the edit, selects its text and types `text` over it.
    void typeInto(int tab, int id, const QString& text);
    void clickButton(int id);
    // A key pressed where the keyboard focus is.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A right click on `widget` at `at` (its own pixels), through the window.
    void rightClick(QWidget& widget, QPoint at);
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
