#include <gtest/gtest.h>

#include "ui/framework/controls.h"
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
            const bool edit = c.kind == ControlKind::ValueEdit || c.kind == ControlKind::IdentityEdit;
            const bool button = c.kind == ControlKind::PushButton || c.kind == ControlKind::DefPushButton;
            EXPECT_EQ(dynamic_cast<CEdit*>(children[i]) != nullptr, edit) << t->id << " #" << i;
            EXPECT_EQ(dynamic_cast<CButton*>(children[i]) != nullptr, button) << t->id << " #" << i;
            if (c.kind == ControlKind::Label || button) {
                EXPECT_EQ(children[i]->GetWindowText(), c.text) << t->id << " #" << i;
            }
        }
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
