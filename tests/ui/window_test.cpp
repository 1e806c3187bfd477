#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include "res/strings.h"
#include "ui/about_dlg.h"
#include "ui/framework/dialog_builder.h"
#include "ui/veltra_app.h"
#include "window_fixture.h"

namespace veltra::testing {
namespace {

const QColor lightGreen(148, 239, 148);
const QColor orangeRed(255, 85, 0);

TEST_F(WindowTest, StartsEmptyWithSavingDisabledAndTheFrequencyPageShown)
{
    EXPECT_EQ(dlg.windowTitle(), "Veltra v1.1");
    for (int id : {res::nameEditId, res::boardEditId, res::dateEditId, res::versionEditId, res::fileNameEditId,
                   res::deviceIdEditId, res::checksumEditId})
        EXPECT_EQ(edit(id).text(), "") << id;
    EXPECT_TRUE(button(res::openBiosButtonId).isEnabled());
    EXPECT_FALSE(button(res::saveBiosButtonId).isEnabled());
    EXPECT_FALSE(button(res::saveBiosAsButtonId).isEnabled());
    EXPECT_TRUE(dynamic_cast<QLabel&>(*dlg.GetDlgItem(res::pictureId)).pixmap().isNull());
    EXPECT_EQ(tabs().GetCurSel(), frequencyTab);
    EXPECT_EQ(visiblePage(), frequencyTab);

    // The checksum field looks like any read-only edit until a load.
    QLineEdit plain;
    plain.setReadOnly(true);
    const auto& checksum = dynamic_cast<CColorEdit&>(edit(res::checksumEditId));
    EXPECT_FALSE(checksum.BackBrush().has_value());
    EXPECT_EQ(checksum.palette().color(QPalette::Base), QApplication::palette(&plain).color(QPalette::Base));

    for (int id : {res::gpuClockEditId, res::boostClockEditId, res::memClockEditId})
        EXPECT_EQ(pageEdit(frequencyTab, id).text(), "");
    for (int id : {res::powerDefaultEditId, res::powerMaxEditId, res::powerLimitLoEditId, res::powerLimitHiEditId})
        EXPECT_EQ(pageEdit(powerTab, id).text(), "0");
    for (int id : {res::fanMinEditId, res::fanMaxEditId})
        EXPECT_EQ(pageEdit(fanTab, id).text(), "0");
    EXPECT_EQ(pageEdit(voltageTab, res::voltageEditId).text(), "");
    for (int k = 0; k < 45; ++k)
        EXPECT_EQ(pageEdit(boostTab, res::firstBoostEditId + k).text(), "");
}

struct BoardCase {
    BoardModel board;
    const char* name;
    const char* deviceIdText;
};

class OpenBoard : public WindowTest, public ::testing::WithParamInterface<BoardCase> {};

TEST_P(OpenBoard, ShowsIdentityValuesAndAGreenChecksum)
{
    ImageSpec spec;
    spec.board = GetParam().board;
    const auto path = writeImage("board.rom", spec);
    const std::vector<std::uint8_t> bytes = readBytes(path);
    open(path);

    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(edit(res::nameEditId).text(), GetParam().name);
    EXPECT_EQ(edit(res::deviceIdEditId).text(), GetParam().deviceIdText);
    EXPECT_EQ(edit(res::versionEditId).text(), "80.04.09.00.01");
    EXPECT_EQ(edit(res::dateEditId).text(), "03/22/12");
    EXPECT_EQ(edit(res::boardEditId).text(), "P2002 SKU 0001 VGA BIO");
    EXPECT_EQ(edit(res::fileNameEditId).text(), "board.rom");
    EXPECT_EQ(dlg.FilePath(), qpath(path));

    const unsigned stored = bytes[locationsOf(spec.board).checksumReadOffset];
    EXPECT_EQ(edit(res::checksumEditId).text(), QString::asprintf("%.2X - [%.2X]", stored, stored));
    EXPECT_EQ(edit(res::checksumEditId).palette().color(QPalette::Base), lightGreen);
    EXPECT_EQ(edit(res::checksumEditId).palette().color(QPalette::Text), QColor(Qt::black));

    EXPECT_TRUE(button(res::saveBiosButtonId).isEnabled());
    EXPECT_TRUE(button(res::saveBiosAsButtonId).isEnabled());
    const QPixmap picture = dynamic_cast<QLabel&>(*dlg.GetDlgItem(res::pictureId)).pixmap();
    EXPECT_EQ(picture.size(), QSize(111, 85));

    EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).text(), "1006.00");
    EXPECT_EQ(pageEdit(frequencyTab, res::boostClockEditId).text(), "1058.50");
    EXPECT_EQ(pageEdit(frequencyTab, res::memClockEditId).text(), "1502.50");
    for (int k = 0; k < 45; ++k)
        EXPECT_EQ(pageEdit(boostTab, res::firstBoostEditId + k).text(),
                  QString::asprintf("%.2f", spec.boostTableWords[static_cast<std::size_t>(k)] / 2.0));
    EXPECT_EQ(pageEdit(powerTab, res::powerDefaultEditId).text(), "170");
    EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).text(), "225");
    EXPECT_EQ(pageEdit(powerTab, res::powerLimitLoEditId).text(), "150");
    EXPECT_EQ(pageEdit(powerTab, res::powerLimitHiEditId).text(), "250");
    EXPECT_EQ(pageEdit(fanTab, res::fanMinEditId).text(), "30");
    EXPECT_EQ(pageEdit(fanTab, res::fanMaxEditId).text(), "85");
    EXPECT_EQ(pageEdit(voltageTab, res::voltageEditId).text(), "1175");
}

INSTANTIATE_TEST_SUITE_P(EachBoard, OpenBoard,
                         ::testing::Values(BoardCase{BoardModel::Gtx660Ti, "Geforce GTX 660Ti", "10DE - 1183"},
                                           BoardCase{BoardModel::Gtx670, "Geforce GTX 670", "10DE - 1189"},
                                           BoardCase{BoardModel::Gtx680, "Geforce GTX 680", "10DE - 1180"}));

TEST_F(WindowTest, ShowsValuesAtTheirEdges)
{
    ImageSpec spec;
    spec.gpuClockWord = 1;  // 0.5 MHz
    spec.fanMax = 255;
    spec.powerDefaultMilliwatts = 0;
    spec.boardText = std::string("Caf\xE9 \xB5" "X\0tail", 11);  // Latin-1, cut at the zero byte
    spec.dateText = std::string("\0" "1/02/12", 8);
    open(writeImage("edges.rom", spec));

    EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).text(), "0.50");
    EXPECT_EQ(pageEdit(fanTab, res::fanMaxEditId).text(), "255");
    EXPECT_EQ(pageEdit(powerTab, res::powerDefaultEditId).text(), "0");
    EXPECT_EQ(edit(res::boardEditId).text(), QString::fromUtf8("Café µX"));
    EXPECT_EQ(edit(res::dateEditId).text(), "");
}

TEST_F(WindowTest, CancellingOpenChangesNothingAndSaysNothing)
{
    open(writeImage("first.rom", ImageSpec{}));
    const auto before = visibleState();
    dlg.OnOpenBios();  // no answer queued: Cancel
    EXPECT_EQ(prompts.openQuestions, 2);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(visibleState(), before);
}

struct LoadFailure {
    const char* name;
    std::function<std::vector<std::uint8_t>()> bytes;  // empty function: no file at all
    const char* firstMessage;
};

class FailedLoad : public WindowTest, public ::testing::WithParamInterface<LoadFailure> {
protected:
    std::filesystem::path failingPath()
    {
        const auto path = dir / "failing.rom";
        if (GetParam().bytes)
            writeBytes(path, GetParam().bytes());
        return path;
    }
};

TEST_P(FailedLoad, FromEmptyShowsBothMessagesAndStaysEmpty)
{
    const auto before = visibleState();
    open(failingPath());
    EXPECT_EQ(texts(prompts.messages), (std::vector<std::string>{GetParam().firstMessage, "Load bios file failed!"}));
    EXPECT_EQ(visibleState(), before);
}

TEST_P(FailedLoad, AfterALoadKeepsWindowModelAndFile)
{
    ImageSpec spec;
    spec.board = BoardModel::Gtx670;
    spec.gpuClockWord = 2100;
    const auto good = writeImage("good.rom", spec);
    const auto goodBytes = readBytes(good);
    open(good);
    selectTab(powerTab);
    const auto before = visibleState();
    const auto infoBefore = describe(dlg.Info());

    open(failingPath());
    EXPECT_EQ(texts(prompts.messages), (std::vector<std::string>{GetParam().firstMessage, "Load bios file failed!"}));
    EXPECT_EQ(visibleState(), before);
    EXPECT_EQ(describe(dlg.Info()), infoBefore);

    // Save BIOS now writes the image that is shown, to the file that is shown.
    prompts.messages.clear();
    dlg.OnSaveBios();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(readBytes(good), goodBytes);
    EXPECT_EQ(visibleState(), before);
}

INSTANTIATE_TEST_SUITE_P(
    EachFailure, FailedLoad,
    ::testing::Values(
        LoadFailure{"Missing", {}, "Cannot open bios file!"},
        LoadFailure{"OtherVendor",
                    [] {
                        ImageSpec spec;
                        spec.vendorId = 0x1002;
                        return buildImage(spec);
                    },
                    "Unknow model!"},
        LoadFailure{"Gtx660",
                    [] {
                        ImageSpec spec;
                        spec.deviceId = 0x11C0;
                        return buildImage(spec);
                    },
                    "Geforce GTX 660 is not supported!"},
        LoadFailure{"TooLarge",
                    [] {
                        ImageSpec spec;
                        spec.length = RomImage::capacity + 1;
                        return buildImage(spec);
                    },
                    "Bios file is too large!"},
        LoadFailure{"VoltagesDisagree",
                    [] {
                        ImageSpec spec;
                        spec.board = BoardModel::Gtx680;
                        spec.gpuClockWord = 1900;
                        spec.voltageDwords[2] += 1000;
                        return buildImage(spec);
                    },
                    "Read voltage error!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, ExactlyTheSelectedPageIsVisibleAndTypedTextSurvivesSwitching)
{
    pageEdit(frequencyTab, res::gpuClockEditId).setText("typed 1");
    pageEdit(boostTab, res::firstBoostEditId + 7).setText("typed 2");
    pageEdit(powerTab, res::powerMaxEditId).setText("abc");
    for (int tab : {boostTab, powerTab, fanTab, voltageTab, frequencyTab, voltageTab, boostTab, frequencyTab}) {
        selectTab(tab);
        EXPECT_EQ(visiblePage(), tab);
        EXPECT_EQ(tabs().GetCurSel(), tab);
    }
    EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).text(), "typed 1");
    EXPECT_EQ(pageEdit(boostTab, res::firstBoostEditId + 7).text(), "typed 2");
    EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).text(), "abc");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(WindowTest, LoadingKeepsTheSelectedTabAndShowsTheNewValuesOnIt)
{
    open(writeImage("first.rom", ImageSpec{}));
    selectTab(powerTab);
    ImageSpec second;
    second.powerMaxMilliwatts = 300000;
    open(writeImage("second.rom", second));
    EXPECT_EQ(tabs().GetCurSel(), powerTab);
    EXPECT_EQ(visiblePage(), powerTab);
    EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).text(), "300");
}

TEST_F(WindowTest, ChecksumFieldTurnsFromGreenToOrangeRedAndPaintsIt)
{
    open(writeImage("good.rom", ImageSpec{}));
    ImageSpec bad;
    bad.correctChecksum = false;
    const auto badPath = writeImage("bad.rom", bad);
    const auto bytes = readBytes(badPath);
    open(badPath);

    auto& checksum = dynamic_cast<CColorEdit&>(edit(res::checksumEditId));
    const unsigned stored = bytes[locationsOf(bad.board).checksumReadOffset];
    EXPECT_EQ(checksum.text(), QString::asprintf("%.2X - [%.2X]", stored, (stored - 1) & 0xFF));
    EXPECT_EQ(checksum.palette().color(QPalette::Base), orangeRed);
    EXPECT_EQ(checksum.palette().color(QPalette::Text), QColor(Qt::black));

    // The colour reaches the screen: a pixel inside the frame, away from the text.
    const QImage painted = checksum.grab().toImage();
    EXPECT_EQ(QColor(painted.pixel(4, painted.height() / 2)), orangeRed);

    // Black text whatever the system's text colour.
    QPalette odd = QApplication::palette();
    odd.setColor(QPalette::Text, Qt::yellow);
    QApplication::setPalette(odd);
    EXPECT_EQ(checksum.palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(checksum.palette().color(QPalette::Base), orangeRed);
    QApplication::setPalette(QPalette());
}

TEST_F(WindowTest, EveryEditAndButtonHasAnAccessibleName)
{
    const std::vector<std::pair<int, const char*>> main = {
        {res::nameEditId, "Name"},          {res::boardEditId, "Board"},
        {res::dateEditId, "Date"},          {res::versionEditId, "Version"},
        {res::fileNameEditId, "Filename"},  {res::deviceIdEditId, "Device ID"},
        {res::checksumEditId, "Checksum"},  {res::openBiosButtonId, "Open BIOS"},
        {res::saveBiosButtonId, "Save BIOS"}, {res::saveBiosAsButtonId, "Save BIOS As"},
    };
    for (const auto& [id, name] : main)
        EXPECT_EQ(dlg.GetDlgItem(id)->accessibleName(), name) << id;

    const std::vector<std::tuple<int, int, const char*>> pages = {
        {frequencyTab, res::gpuClockEditId, "GPU Default Frequency"},
        {frequencyTab, res::boostClockEditId, "GPU Boost Frequency"},
        {frequencyTab, res::memClockEditId, "Memory Frequency"},
        {powerTab, res::powerDefaultEditId, "Default Power"},
        {powerTab, res::powerMaxEditId, "Max Power"},
        {powerTab, res::powerLimitLoEditId, "Power Limit Lo"},
        {powerTab, res::powerLimitHiEditId, "Power Limit Hi"},
        {fanTab, res::fanMinEditId, "Minimum"},
        {fanTab, res::fanMaxEditId, "Maximum"},
        {voltageTab, res::voltageEditId, "Max Voltage"},
    };
    for (const auto& [tab, id, name] : pages)
        EXPECT_EQ(pageEdit(tab, id).accessibleName(), name) << tab << " " << id;
    for (int k = 0; k < 45; ++k)
        EXPECT_EQ(pageEdit(boostTab, res::firstBoostEditId + k).accessibleName(),
                  QString::asprintf("Boost %02d", k + 1));
}

TEST_F(WindowTest, BoostGridHasFortyFiveCaptionedEditsInPagePixelsWithoutTabStops)
{
    const CDialog& page = dlg.Page(boostTab);
    const auto labels = page.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(labels.size(), 45);
    for (int k = 0; k < 45; ++k) {
        const int x = 20 + 75 * (k % 5);
        const int y = 28 + 21 * (k / 5);
        QLineEdit& cell = pageEdit(boostTab, res::firstBoostEditId + k);
        EXPECT_EQ(cell.geometry(), QRect(x + 5, y - 18, 50, 18)) << k;
        EXPECT_FALSE(cell.focusPolicy() & Qt::TabFocus) << k;
        EXPECT_EQ(cell.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        const QLabel* caption = labels[k];
        EXPECT_EQ(caption->text(), QString::asprintf("%02d", k + 1));
        EXPECT_EQ(caption->geometry(), QRect(x - 15, y - 16, 15, 16)) << k;
        EXPECT_EQ(caption->buddy(), &cell);
    }
    // Fifth cell of the first row, and the last cell.
    EXPECT_EQ(labels[4]->text(), "05");
    EXPECT_EQ(labels[4]->buddy(), page.GetDlgItem(12349));
    EXPECT_EQ(labels[44]->geometry(), QRect(QPoint(305, 180), QPoint(319, 195)));
    EXPECT_EQ(page.GetDlgItem(12389)->geometry(), QRect(QPoint(325, 178), QPoint(374, 195)));
}

TEST_F(WindowTest, PagesFillTheTabControlBelowItsTabs)
{
    const QRect client = tabs().rect();
    for (int tab = 0; tab < 5; ++tab) {
        EXPECT_EQ(dlg.Page(tab).parentWidget(), &tabs());
        EXPECT_EQ(dlg.Page(tab).geometry(), QRect(3, 23, client.width() - 8, client.height() - 27)) << tab;
    }
    EXPECT_EQ(tabs().GetItemCount(), 5);
    for (int tab = 0; tab < 5; ++tab)
        EXPECT_EQ(tabs().TabBar().tabText(tab), res::tabCaptions[tab]);
}

// True when `edit` shows all of its text: the text is no wider than the
// edit's contents less its text margins and the 2-pixel margin the edit keeps
// on either side.
bool showsWholeText(const QLineEdit& edit)
{
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    const QMargins margins = edit.textMargins();
    const int available = contents.width() - margins.left() - margins.right() - 4;
    return edit.fontMetrics().horizontalAdvance(edit.text()) <= available;
}

TEST_F(WindowTest, NoCaptionLabelOrValueIsClipped)
{
    ImageSpec spec;
    spec.board = BoardModel::Gtx660Ti;  // the longest name
    for (auto& word : spec.boostTableWords)
        word = 3998;  // 1999.00, the widest value that passes
    spec.boardText = "WWWWWWWWWWWWWWWWWWWWWW";
    spec.versionText = "88.88.88.88.88";
    open(writeImage("wide_name_for_the_filename_field.rom", spec));
    std::vector<QWidget*> parents{&dlg};
    for (int tab = 0; tab < 5; ++tab)
        parents.push_back(&dlg.Page(tab));
    CAboutDlg about;
    about.Create();
    parents.push_back(&about);

    for (QWidget* parent : parents) {
        for (QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->text().isEmpty())
                continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << label->text().toStdString();
            EXPECT_LE(label->fontMetrics().height(), label->height()) << label->text().toStdString();
            // A widened label still ends before the control beside it.
            for (QLineEdit* other : parent->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
                EXPECT_FALSE(label->geometry().intersects(other->geometry())) << label->text().toStdString();
            }
        }
        for (QPushButton* button : parent->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), contents.width())
                << button->text().toStdString();
        }
    }
    for (int tab = 0; tab < 5; ++tab)
        for (QLineEdit* value : dlg.Page(tab).findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(showsWholeText(*value)) << value->accessibleName().toStdString() << ": "
                                                << value->text().toStdString();
    for (int id : {res::nameEditId, res::boardEditId, res::dateEditId, res::versionEditId, res::deviceIdEditId,
                   res::checksumEditId})
        EXPECT_TRUE(showsWholeText(edit(id))) << edit(id).text().toStdString();
    EXPECT_GE(tabs().TabBar().width(), tabs().TabBar().sizeHint().width());
}

TEST_F(WindowTest, AboutItemFollowsASeparatorInTheWindowMenuAndOpensTheAboutBox)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the item is in the system's own window menu";
#endif
    QMenu* menu = dlg.SystemMenu();
    ASSERT_NE(menu, nullptr);
    const auto actions = menu->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions.back()->text(), "&About Veltra...");

    actions.back()->trigger();
    EXPECT_EQ(texts(prompts.modalTitles), (std::vector<std::string>{"About Veltra"}));

    dlg.OnSysCommand(0xF060, 0);  // any other command: nothing of ours
    dlg.OnSysCommand(0x0013, 0);  // low four bits are ignored
    EXPECT_EQ(texts(prompts.modalTitles), (std::vector<std::string>{"About Veltra", "About Veltra"}));
}

TEST_F(WindowTest, RightClickAndTheMenuKeyOpenTheWindowMenu)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the item is in the system's own window menu";
#endif
    for (auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
        QContextMenuEvent event(reason, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&dlg, &event);
        EXPECT_TRUE(dlg.SystemMenu()->isVisible()) << reason;
        dlg.SystemMenu()->hide();
    }
}

TEST(AboutBox, ShowsIconNameVersionAndOk)
{
    CAboutDlg about;
    about.Create();
    EXPECT_EQ(about.windowTitle(), "About Veltra");
    QStringList lines;
    const QLabel* icon = nullptr;
    for (QLabel* label : about.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (!label->pixmap().isNull())
            icon = label;
        else
            lines << label->text();
    }
    EXPECT_EQ(lines, (QStringList{"Veltra, Version 1.1", "BIOS image editor"}));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(loadImageResource(res::appIconId).size(), QSize(128, 128));
    auto* ok = dynamic_cast<QPushButton*>(about.GetDlgItem(res::okButtonId));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    about.show();
    ok->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

struct KeyCase {
    Qt::Key key;
    bool windowStaysOpen;
};

class KeyOnAPage : public WindowTest, public ::testing::WithParamInterface<KeyCase> {};

// Escape ends the window at once, unsaved edits and all, and never hides just
// the page. Enter in an edit does not end the window: edits are not thrown
// away by a key pressed to finish typing a value.
TEST_P(KeyOnAPage, EscapeEndsTheWindowAndEnterKeepsIt)
{
    open(writeImage("edited.rom", ImageSpec{}));
    QLineEdit& gpu = pageEdit(frequencyTab, res::gpuClockEditId);
    gpu.setText("1200");
    QKeyEvent press(QEvent::KeyPress, GetParam().key, Qt::NoModifier);
    QApplication::sendEvent(&gpu, &press);
    EXPECT_TRUE(dlg.Page(frequencyTab).isVisibleTo(&dlg));
    EXPECT_EQ(dlg.isVisible(), GetParam().windowStaysOpen);
    if (!GetParam().windowStaysOpen) {
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_EQ(gpu.text(), "1200");
    EXPECT_TRUE(prompts.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyOnAPage,
                         ::testing::Values(KeyCase{Qt::Key_Escape, false}, KeyCase{Qt::Key_Return, true},
                                           KeyCase{Qt::Key_Enter, true}));

TEST(Application, RunsTheMainWindowModallyAndThenEnds)
{
    ScriptedPrompts prompts;
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_EQ(texts(prompts.modalTitles), (std::vector<std::string>{"Veltra v1.1"}));
}

}  // namespace
}  // namespace veltra::testing
