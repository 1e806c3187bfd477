#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "tests/ui/driver.h"
#include "ui/framework/controls.h"
#include "ui/framework/keys.h"
#include "ui/framework/data_exchange.h"
#include "ui/framework/scripted_prompts.h"
#include "ui/pages.h"
#include "ui/res/templates.h"

namespace veltra {
namespace {

// A bare dialog made from a template, without the window's own behaviour.
class PlainDialog : public CDialog {
public:
    explicit PlainDialog(const DialogTemplate& t) : CDialog(t) {}
};

// Every control of a template is made, in template order, and the ones with
// an id are found by it, as the kind of control the template names.
TEST(DialogBuilder, EveryTemplateControlIsMadeInOrderAndFoundById)
{
    for (const DialogTemplate* t : {&res::mainDialog, &res::frequencyPage, &res::fanPage, &res::powerPage,
                                    &res::voltagePage, &res::aboutDialog}) {
        PlainDialog dialog(*t);
        ASSERT_TRUE(dialog.Create());
        const std::vector<CWnd*> children = dialog.Children();
        ASSERT_EQ(children.size(), t->controls.size()) << t->id;
        EXPECT_EQ(dialog.GetWindowText(), t->caption);
        for (std::size_t i = 0; i < t->controls.size(); ++i) {
            const ControlTemplate& c = t->controls[i];
            EXPECT_EQ(children[i]->GetDlgCtrlID(), c.id) << t->id << " #" << i;
            if (c.id != noControlId) {
                EXPECT_EQ(dialog.GetDlgItem(c.id), children[i]) << t->id << " #" << i;
            }
            EXPECT_EQ(children[i]->GetWindowText(), traitsOf(c.kind).showsText ? c.text : "") << t->id << " #" << i;
        }
    }
}

// One control of each kind a template can hold, one below the other.
constexpr int firstKindId = 100;
constexpr auto everyKind = [] {
    std::array<ControlTemplate, std::size(controlKinds) - 1> controls{};
    for (std::size_t i = 0; i < controls.size(); ++i)
        controls[i] = ControlTemplate{firstKindId + static_cast<int>(i), controlKinds[i + 1].kind, "Text", 5,
                                      5 + 15 * static_cast<int>(i), 80, 12};
    return controls;
}();
constexpr DialogTemplate everyKindDialog{999, "Kinds", 100, 10 + 15 * static_cast<int>(everyKind.size()), 8, everyKind};

// Each control is made as its kind's row says, on every backend: seen as its
// class, showing the template's text or none, taking the focus from a click,
// taking typed text, and reached by Tab, exactly where its row says so. A
// backend whose factory strayed would leave an identity field the user can
// type into, or a value the keyboard cannot reach.
TEST(DialogBuilder, EachKindIsMadeAsItsRowSays)
{
    ScriptedPrompts prompts;
    PlainDialog dialog(everyKindDialog);
    ASSERT_TRUE(dialog.Create());
    testing::showActive(dialog);
    CWnd& anchor = *dialog.GetDlgItem(firstKindId + static_cast<int>(ControlKind::ValueEdit) - 1);
    std::vector<CWnd*> tabStops;
    for (const ControlTemplate& c : everyKind) {
        SCOPED_TRACE(c.id);
        const ControlTraits& row = traitsOf(c.kind);
        CWnd* made = dialog.GetDlgItem(c.id);
        ASSERT_NE(made, nullptr);
        const std::pair<ControlClass, bool> classes[] = {
            {ControlClass::Static, dynamic_cast<CStatic*>(made) != nullptr},
            {ControlClass::Edit, dynamic_cast<CEdit*>(made) != nullptr},
            {ControlClass::Button, dynamic_cast<CButton*>(made) != nullptr},
            {ControlClass::TabControl, dynamic_cast<CTabCtrl*>(made) != nullptr},
        };
        for (const auto& [kindClass, seenAs] : classes)
            EXPECT_EQ(seenAs, row.controlClass == kindClass) << static_cast<int>(kindClass);
        EXPECT_EQ(made->GetWindowText(), row.showsText ? "Text" : "");
        if (row.tabStop && c.kind != ControlKind::TabControl)
            tabStops.push_back(made);
        // The system's tab control takes the focus from a click, and Tab goes
        // past it into its pages, on Win32 alone.
        if (c.kind == ControlKind::TabControl)
            continue;
        dialog.GotoDlgCtrl(&anchor);
        if (auto* edit = dynamic_cast<CEdit*>(made)) {
            testing::typeInto(*edit, "12");
            EXPECT_EQ(edit->GetWindowText(), row.readOnly ? "" : "12");
        } else {
            testing::click(*made);
        }
        EXPECT_EQ(CWnd::GetFocus(), row.takesInput ? made : &anchor);
    }
    ASSERT_GE(tabStops.size(), 2u);
    dialog.GotoDlgCtrl(tabStops.front());
    for (std::size_t i = 1; i < tabStops.size(); ++i) {
        testing::pressKey("Tab");
        EXPECT_EQ(CWnd::GetFocus(), tabStops[i]) << tabStops[i]->GetDlgCtrlID();
    }
}

struct KeyTextCase {
    const char* text;
    std::optional<KeyCombination> keys;
};

// Every key text of the program's and the tests' reads as the key it names;
// any other text reads as none, rather than as some other key: Ctrl+S losing
// its Shift would save over the file instead of asking where.
TEST(KeyText, ReadsTheKeysItNamesAndNothingElse)
{
    const KeyCombination ctrlO{characterKey('O'), ctrlModifier};
    const KeyTextCase cases[] = {
        {"Ctrl+O", ctrlO},
        {"Ctrl+o", ctrlO},
        {"Ctrl+Shift+S", KeyCombination{characterKey('S'), ctrlModifier | shiftModifier}},
        {"Shift+Ctrl+S", KeyCombination{characterKey('S'), ctrlModifier | shiftModifier}},
        {"Alt+F4", KeyCombination{functionKey(4), altModifier}},
        {"F1", KeyCombination{Key::F1}},
        {"F10", KeyCombination{functionKey(10)}},
        {"F12", KeyCombination{functionKey(12)}},
        {"7", KeyCombination{characterKey('7')}},
        {"Return", KeyCombination{Key::Return}},
        {"Enter", KeyCombination{Key::Enter}},
        {"Escape", KeyCombination{Key::Escape}},
        {"Tab", KeyCombination{Key::Tab}},
        {"Shift+Tab", KeyCombination{Key::Tab, shiftModifier}},
        {"Delete", KeyCombination{Key::Delete}},
        {"", std::nullopt},
        {"Ctrl", std::nullopt},
        {"Ctrl+", std::nullopt},
        {"+O", std::nullopt},
        {"Ctrl++", std::nullopt},
        {"ctrl+O", std::nullopt},
        {"Ctrl+Ctrl+O", std::nullopt},
        {"Meta+O", std::nullopt},
        {"Ctrl+OO", std::nullopt},
        {" Ctrl+O", std::nullopt},
        {"F0", std::nullopt},
        {"F01", std::nullopt},
        {"F13", std::nullopt},
        {"F1x", std::nullopt},
        {"Ctrl+-", std::nullopt},
        {"\xC3\xA9", std::nullopt},
    };
    for (const KeyTextCase& c : cases)
        EXPECT_EQ(parseKeys(c.text), c.keys) << '"' << c.text << '"';

    std::vector<KeyCombination> seen;
    for (const Accelerator& accelerator : res::mainAccelerators) {
        const std::optional<KeyCombination> keys = parseKeys(accelerator.keys);
        ASSERT_TRUE(keys.has_value()) << accelerator.keys;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), *keys), 0) << accelerator.keys;
        seen.push_back(*keys);
    }
}

struct UnsignedCase {
    const char* text;
    std::optional<std::uint32_t> read;
};

class UnsignedExchange : public ::testing::TestWithParam<UnsignedCase> {};

// The exchange reads each member in turn; a text it cannot read is reported
// once, and that member and the later ones keep their values.
TEST_P(UnsignedExchange, ReadsOrStopsWithItsMessage)
{
    const int ids[] = {res::powerDefaultEditId, res::powerMaxEditId, res::powerLimitLoEditId, res::powerLimitHiEditId};
    for (int bad = 0; bad < 4; ++bad) {
        ScriptedPrompts prompts;
        CPowerPage page;
        page.Create();
        page.m_powerDefault = 1;
        page.m_powerMax = 2;
        page.m_powerLimitLo = 3;
        page.m_powerLimitHi = 4;
        for (int i = 0; i < 4; ++i)
            page.GetDlgItem(ids[i])->SetWindowText(i == bad ? GetParam().text : "100");

        const bool ok = page.UpdateData(true);
        const std::uint32_t members[] = {page.m_powerDefault, page.m_powerMax, page.m_powerLimitLo, page.m_powerLimitHi};
        if (GetParam().read) {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(prompts.messages.empty());
            EXPECT_EQ(members[bad], *GetParam().read);
            EXPECT_EQ(page.FailedControl(), nullptr);
            continue;
        }
        EXPECT_FALSE(ok);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0], "Enter a whole number from 0 to 4294967295.");
        EXPECT_EQ(page.FailedControl(), page.GetDlgItem(ids[bad]));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(members[i], i < bad ? 100u : static_cast<std::uint32_t>(i + 1)) << "bad " << bad << " member " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, UnsignedExchange,
                         ::testing::Values(UnsignedCase{"42", 42u}, UnsignedCase{"0", 0u},
                                           UnsignedCase{"4294967295", 4294967295u}, UnsignedCase{" 7 ", 7u},
                                           UnsignedCase{"abc", std::nullopt}, UnsignedCase{"", std::nullopt},
                                           UnsignedCase{"-1", std::nullopt}, UnsignedCase{"12abc", std::nullopt},
                                           UnsignedCase{"4294967296", std::nullopt},
                                           UnsignedCase{"1.5", std::nullopt},
                                           // A full-width digit is not a digit.
                                           UnsignedCase{"\xEF\xBC\x97", std::nullopt}));

TEST(UnsignedExchange, WritesMembersAsDecimalText)
{
    ScriptedPrompts prompts;
    CFanPage page;
    page.Create();
    page.m_fanMin = 0;
    page.m_fanMax = 4294967295u;
    page.UpdateData(false);
    EXPECT_EQ(page.GetDlgItem(res::fanMinEditId)->GetWindowText(), "0");
    EXPECT_EQ(page.GetDlgItem(res::fanMaxEditId)->GetWindowText(), "4294967295");
}

}  // namespace
}  // namespace veltra
