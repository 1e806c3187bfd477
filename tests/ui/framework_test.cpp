#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include "ui/res/templates.h"
#include "ui/framework/controls.h"
#include "ui/framework/data_exchange.h"
#include "ui/framework/scripted_prompts.h"
#include "ui/pages.h"
#include "ui/veltra_dlg.h"

namespace veltra {
namespace {

// A bare dialog made from a template, without the window's own behaviour.
class PlainDialog : public CDialog {
public:
    explicit PlainDialog(const DialogTemplate& t) : CDialog(t) {}
};

TEST(DialogUnits, FollowTheDialogFontsLetterWidthAndHeight)
{
    const QFont font = dialogFont(8);
    const DialogUnits units(font);
    const QFontMetricsF metrics(font);
    EXPECT_NEAR(units.baseX() * 52, metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
                1e-6);
    EXPECT_EQ(units.baseY(), std::ceil(metrics.height()));
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_EQ(font.family(), QApplication::font().family());

    // Neighbours in dialog units stay neighbours in pixels.
    for (int x = 0; x < 300; x += 7) {
        EXPECT_EQ(units.toPixels(x, 0, 13, 8).right() + 1, units.toPixels(x + 13, 0, 5, 8).left());
        EXPECT_EQ(units.toPixels(0, x, 8, 11).bottom() + 1, units.toPixels(0, x + 11, 8, 3).top());
    }
}

TEST(DialogBuilder, EveryTemplateControlStandsAtItsConvertedPlaceInTabOrder)
{
    for (const DialogTemplate* t : {&res::mainDialog, &res::frequencyPage, &res::fanPage, &res::powerPage,
                                    &res::voltagePage, &res::aboutDialog}) {
        PlainDialog dialog(*t);
        dialog.Create();
        const auto children = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(children.size(), static_cast<qsizetype>(t->controls.size())) << t->id;

        std::vector<QWidget*> expectedChain;
        for (std::size_t i = 0; i < t->controls.size(); ++i) {
            const ControlTemplate& c = t->controls[i];
            QWidget* made = children[static_cast<qsizetype>(i)];
            EXPECT_EQ(controlId(*made), c.id) << t->id << " #" << i;
            if (c.id != noControlId) {
                EXPECT_EQ(dialog.GetDlgItem(c.id), made);
            }
            const QRect at = dialog.Units().toPixels(c.x, c.y, c.width, c.height);
            EXPECT_EQ(made->pos(), at.topLeft()) << t->id << " #" << i;
            EXPECT_EQ(made->height(), at.height()) << t->id << " #" << i;
            EXPECT_GE(made->width(), at.width()) << t->id << " #" << i;
            if (made->focusPolicy() & Qt::TabFocus)
                expectedChain.push_back(made);
        }
        EXPECT_EQ(dialog.size(), QSize(dialog.Units().toPixelsX(t->width), dialog.Units().toPixelsY(t->height)));

        for (std::size_t i = 0; i + 1 < expectedChain.size(); ++i) {
            QWidget* next = expectedChain[i]->nextInFocusChain();
            while (next != expectedChain[i] && !(next->parentWidget() == &dialog && (next->focusPolicy() & Qt::TabFocus)))
                next = next->nextInFocusChain();
            EXPECT_EQ(next, expectedChain[i + 1]) << t->id << " after #" << i;
        }
    }
}

TEST(DialogBuilder, EditsAreCentredAndOnlyTheWindowsIdentityFieldsAreReadOnly)
{
    CVeltraDlg dlg;
    dlg.Create();
    for (int id : {res::nameEditId, res::boardEditId, res::dateEditId, res::versionEditId, res::fileNameEditId,
                   res::deviceIdEditId, res::checksumEditId}) {
        auto* edit = dynamic_cast<QLineEdit*>(dlg.GetDlgItem(id));
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_TRUE(edit->isReadOnly()) << id;
        EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter) << id;
    }
    for (int tab = 0; tab < 5; ++tab)
        for (QLineEdit* edit : dlg.Page(tab).findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_FALSE(edit->isReadOnly());
            EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
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
            dynamic_cast<QLineEdit&>(*page.GetDlgItem(ids[i])).setText(i == bad ? GetParam().text : "100");

        const bool ok = page.UpdateData(true);
        const std::uint32_t members[] = {page.m_powerDefault, page.m_powerMax, page.m_powerLimitLo, page.m_powerLimitHi};
        if (GetParam().read) {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(prompts.messages.empty());
            EXPECT_EQ(members[bad], *GetParam().read);
            continue;
        }
        EXPECT_FALSE(ok);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0], "Enter a whole number from 0 to 4294967295.");
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
                                           UnsignedCase{"1.5", std::nullopt}));

TEST(UnsignedExchange, WritesMembersAsDecimalText)
{
    ScriptedPrompts prompts;
    CFanPage page;
    page.Create();
    page.m_fanMin = 0;
    page.m_fanMax = 4294967295u;
    page.UpdateData(false);
    EXPECT_EQ(dynamic_cast<QLineEdit&>(*page.GetDlgItem(res::fanMinEditId)).text(), "0");
    EXPECT_EQ(dynamic_cast<QLineEdit&>(*page.GetDlgItem(res::fanMaxEditId)).text(), "4294967295");
}

// The layer's boxes carry the application's name and the program's own
// texts; it has none of its own.
TEST(Prompts, MessageAndQuestionBoxesAreModalAndTitledWithTheApplicationsName)
{
    QWidget owner;
    const QString title = QCoreApplication::applicationName();
    const auto box = makeMessageBox(&owner, "Cannot open bios file!");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->text(), "Cannot open bios file!");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->windowTitle(), title);
    EXPECT_EQ(box->parentWidget(), &owner);
    EXPECT_NE(box->windowModality(), Qt::NonModal);

    const auto question = makeQuestionBox(&owner, "Discard?");
    EXPECT_EQ(question->icon(), QMessageBox::Question);
    EXPECT_EQ(question->text(), "Discard?");
    EXPECT_EQ(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(static_cast<QAbstractButton*>(question->defaultButton()), question->button(QMessageBox::No));
    EXPECT_EQ(question->escapeButton(), question->button(QMessageBox::No));
    EXPECT_EQ(question->windowTitle(), title);
    EXPECT_EQ(question->parentWidget(), &owner);
    EXPECT_NE(question->windowModality(), Qt::NonModal);
}

TEST(Prompts, FileDialogsOfferTheProgramsFileTypeAndConfirmOverwriting)
{
    const FileQuestion question{"Pick a picture", "Picture(*.png)", "png"};
    for (auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        const auto dialog = makeFileDialog(nullptr, mode, question);
        EXPECT_EQ(dialog->windowTitle(), "Pick a picture");
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Picture(*.png)"});
        EXPECT_EQ(dialog->defaultSuffix(), "png");
        EXPECT_EQ(dialog->acceptMode(), mode);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->fileMode(), mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        EXPECT_NE(dialog->windowModality(), Qt::NonModal);
    }
}

}  // namespace
}  // namespace veltra
