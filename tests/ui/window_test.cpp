#include "ui/framework/display_scale.h"
#include "ui/framework/text.h"
#include "ui/res/strings.h"
#include "window_fixture.h"

namespace veltra::testing {
namespace {

constexpr Color lightGreen{148, 239, 148};
constexpr Color orangeRed{255, 85, 0};
constexpr Color black{0, 0, 0};

TEST_F(WindowTest, StartsEmptyWithSavingDisabledAndTheFrequencyPageShown)
{
    EXPECT_EQ(dlg.GetWindowText(), "Veltra v1.1");
    for (int id : {res::nameEditId, res::boardEditId, res::dateEditId, res::versionEditId, res::fileNameEditId,
                   res::deviceIdEditId, res::checksumEditId})
        EXPECT_EQ(edit(id).GetWindowText(), "") << id;
    EXPECT_TRUE(button(res::openBiosButtonId).IsWindowEnabled());
    EXPECT_FALSE(button(res::saveBiosButtonId).IsWindowEnabled());
    EXPECT_FALSE(button(res::saveBiosAsButtonId).IsWindowEnabled());
    EXPECT_EQ(dynamic_cast<CStatic&>(*dlg.GetDlgItem(res::pictureId)).GetBitmap(), 0);
    EXPECT_EQ(tabs().GetCurSel(), frequencyTab);
    EXPECT_EQ(visiblePage(), frequencyTab);
    // The checksum field keeps the system's colours until a load.
    EXPECT_FALSE(checksum().CtlColor().has_value());

    for (int id : {res::gpuClockEditId, res::boostClockEditId, res::memClockEditId})
        EXPECT_EQ(pageEdit(frequencyTab, id).GetWindowText(), "");
    for (int id : {res::powerDefaultEditId, res::powerMaxEditId, res::powerLimitLoEditId, res::powerLimitHiEditId})
        EXPECT_EQ(pageEdit(powerTab, id).GetWindowText(), "0");
    for (int id : {res::fanMinEditId, res::fanMaxEditId})
        EXPECT_EQ(pageEdit(fanTab, id).GetWindowText(), "0");
    EXPECT_EQ(pageEdit(voltageTab, res::voltageEditId).GetWindowText(), "");
    for (int k = 0; k < 45; ++k)
        EXPECT_EQ(pageEdit(boostTab, res::firstBoostEditId + k).GetWindowText(), "");
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
    EXPECT_EQ(edit(res::nameEditId).GetWindowText(), GetParam().name);
    EXPECT_EQ(edit(res::deviceIdEditId).GetWindowText(), GetParam().deviceIdText);
    EXPECT_EQ(edit(res::versionEditId).GetWindowText(), "80.04.09.00.01");
    EXPECT_EQ(edit(res::dateEditId).GetWindowText(), "03/22/12");
    EXPECT_EQ(edit(res::boardEditId).GetWindowText(), "P2002 SKU 0001 VGA BIO");
    EXPECT_EQ(edit(res::fileNameEditId).GetWindowText(), "board.rom");
    EXPECT_EQ(dlg.FilePath(), path);

    const unsigned stored = bytes[locationsOf(spec.board).checksumReadOffset];
    EXPECT_EQ(edit(res::checksumEditId).GetWindowText(), formatText("%.2X - [%.2X]", stored, stored));
    EXPECT_EQ(checksum().CtlColor(), (ControlColors{black, lightGreen}));

    EXPECT_TRUE(button(res::saveBiosButtonId).IsWindowEnabled());
    EXPECT_TRUE(button(res::saveBiosAsButtonId).IsWindowEnabled());
    EXPECT_EQ(dynamic_cast<CStatic&>(*dlg.GetDlgItem(res::pictureId)).GetBitmap(), res::logoBitmapId);

    EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).GetWindowText(), "1006.00");
    EXPECT_EQ(pageEdit(frequencyTab, res::boostClockEditId).GetWindowText(), "1058.50");
    EXPECT_EQ(pageEdit(frequencyTab, res::memClockEditId).GetWindowText(), "1502.50");
    for (int k = 0; k < 45; ++k)
        EXPECT_EQ(pageEdit(boostTab, res::firstBoostEditId + k).GetWindowText(),
                  twoDecimals(spec.boostTableWords[static_cast<std::size_t>(k)] / 2.0));
    EXPECT_EQ(pageEdit(powerTab, res::powerDefaultEditId).GetWindowText(), "170");
    EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).GetWindowText(), "225");
    EXPECT_EQ(pageEdit(powerTab, res::powerLimitLoEditId).GetWindowText(), "150");
    EXPECT_EQ(pageEdit(powerTab, res::powerLimitHiEditId).GetWindowText(), "250");
    EXPECT_EQ(pageEdit(fanTab, res::fanMinEditId).GetWindowText(), "30");
    EXPECT_EQ(pageEdit(fanTab, res::fanMaxEditId).GetWindowText(), "85");
    EXPECT_EQ(pageEdit(voltageTab, res::voltageEditId).GetWindowText(), "1175");
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

    EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).GetWindowText(), "0.50");
    EXPECT_EQ(pageEdit(fanTab, res::fanMaxEditId).GetWindowText(), "255");
    EXPECT_EQ(pageEdit(powerTab, res::powerDefaultEditId).GetWindowText(), "0");
    EXPECT_EQ(edit(res::boardEditId).GetWindowText(), "Caf\xC3\xA9 \xC2\xB5X");  // UTF-8
    EXPECT_EQ(edit(res::dateEditId).GetWindowText(), "");
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
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{GetParam().firstMessage, "Load bios file failed!"}));
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
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{GetParam().firstMessage, "Load bios file failed!"}));
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
    pageEdit(frequencyTab, res::gpuClockEditId).SetWindowText("typed 1");
    pageEdit(boostTab, res::firstBoostEditId + 7).SetWindowText("typed 2");
    pageEdit(powerTab, res::powerMaxEditId).SetWindowText("abc");
    for (int tab : {boostTab, powerTab, fanTab, voltageTab, frequencyTab, voltageTab, boostTab, frequencyTab}) {
        selectTab(tab);
        EXPECT_EQ(visiblePage(), tab);
        EXPECT_EQ(tabs().GetCurSel(), tab);
    }
    EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).GetWindowText(), "typed 1");
    EXPECT_EQ(pageEdit(boostTab, res::firstBoostEditId + 7).GetWindowText(), "typed 2");
    EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).GetWindowText(), "abc");
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
    EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).GetWindowText(), "300");
}

TEST_F(WindowTest, ChecksumFieldTurnsFromGreenToOrangeRed)
{
    open(writeImage("good.rom", ImageSpec{}));
    ImageSpec bad;
    bad.correctChecksum = false;
    const auto badPath = writeImage("bad.rom", bad);
    const auto bytes = readBytes(badPath);
    open(badPath);

    const unsigned stored = bytes[locationsOf(bad.board).checksumReadOffset];
    EXPECT_EQ(checksum().GetWindowText(), formatText("%.2X - [%.2X]", stored, (stored - 1) & 0xFF));
    EXPECT_EQ(checksum().CtlColor(), (ControlColors{black, orangeRed}));
}

TEST_F(WindowTest, ButtonsRunTheirCommands)
{
    const auto path = writeImage("clicked.rom", ImageSpec{});
    prompts.openAnswers.push_back(path);
    clickButton(res::openBiosButtonId);
    EXPECT_EQ(edit(res::fileNameEditId).GetWindowText(), "clicked.rom");

    typeInto(fanTab, res::fanMaxEditId, "95");
    clickButton(res::saveBiosButtonId);
    EXPECT_EQ(prompts.saveQuestions, 0);
    BiosInfo onDisk;
    ASSERT_TRUE(loadRomFile(path, onDisk));
    EXPECT_EQ(onDisk.fanMax.value, 95);

    clickButton(res::saveBiosAsButtonId);  // cancelled
    EXPECT_EQ(prompts.saveQuestions, 1);
    EXPECT_TRUE(prompts.messages.empty());

    // Both file dialogs offer BIOS files only.
    ASSERT_EQ(prompts.fileQuestions.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(prompts.fileQuestions[i].title, i == 0 ? "Open BIOS" : "Save BIOS As");
        EXPECT_EQ(prompts.fileQuestions[i].filter, "BIOS File(*.rom)");
        EXPECT_EQ(prompts.fileQuestions[i].defaultSuffix, "rom");
    }
}

// The window's menu ends with the About item after a separator; the item, or
// F1, opens the About box, and no other command of the menu does.
TEST_F(WindowTest, AboutItemFollowsASeparatorInTheWindowMenu)
{
    CMenu* menu = dlg.GetSystemMenu();
    ASSERT_NE(menu, nullptr);
    const int count = menu->GetMenuItemCount();
    ASSERT_GE(count, 2);
    EXPECT_EQ(menu->GetMenuItemID(count - 2), 0u);
    EXPECT_EQ(menu->GetMenuString(count - 2), "");
    EXPECT_EQ(menu->GetMenuItemID(count - 1), res::aboutCommandId);
    EXPECT_EQ(menu->GetMenuString(count - 1), "&About Veltra...");

    dlg.OnSysCommand(0xF060, 0);  // any other command: nothing of ours
    EXPECT_TRUE(prompts.modalTitles.empty());
    dlg.OnSysCommand(0x0013, 0);  // low four bits are ignored
    EXPECT_EQ(prompts.modalTitles, std::vector<std::string>{"About Veltra"});
}

// The window at a display scale: the Boost grid's cells and the pages'
// offsets in the tab control are pixels at 96 dpi, scaled by dpi / 96.
struct ScaleCase {
    int dpi;
    // The tab control's client size less a page's: the offsets left and
    // right, and above (below the tab captions) and below.
    int pageInsetWidth;
    int pageInsetHeight;
    int editWidth;
    int editHeight;
    int captionWidth;
    int captionHeight;
};

constexpr ScaleCase scaleCases[] = {
    {96, 3 + 5, 23 + 4, 50, 18, 15, 16},
    {120, 4 + 6, 29 + 5, 63, 22, 19, 20},
    {144, 5 + 8, 35 + 6, 75, 27, 23, 24},
    {192, 6 + 10, 46 + 8, 100, 36, 30, 32},
};

// Each page's size against the tab control's, and each Boost edit's and
// caption's size.
void expectLaidOutAt(const CVeltraDlg& dlg, const ScaleCase& at, int editFrame)
{
    // At 96 dpi nothing moves by as much as a pixel; elsewhere an edge scaled
    // on its own may round either way.
    const int slack = at.dpi == 96 ? 0 : 1;
    const CRect tabs = dlg.GetDlgItem(res::tabControlId)->GetClientRect();
    for (int tab = 0; tab < 5; ++tab) {
        // The page's own place: a page that scrolls keeps its bar inside it.
        const CRect page = placeOf(dlg.Page(tab));
        EXPECT_EQ(tabs.Width() - page.Width(), at.pageInsetWidth) << at.dpi << " dpi, page " << tab;
        EXPECT_EQ(tabs.Height() - page.Height(), at.pageInsetHeight) << at.dpi << " dpi, page " << tab;
    }
    auto& boost = dynamic_cast<CBoostPage&>(dlg.Page(boostTab));
    for (std::size_t k = 0; k < boostEntryCount; ++k) {
        const CRect edit = boost.m_edits[k].GetClientRect();
        EXPECT_NEAR(edit.Width() + editFrame, at.editWidth, slack) << at.dpi << " dpi, edit " << k;
        EXPECT_NEAR(edit.Height() + editFrame, at.editHeight, slack) << at.dpi << " dpi, edit " << k;
        const CRect caption = boost.m_labels[k].GetClientRect();
        EXPECT_NEAR(caption.Width(), at.captionWidth, slack) << at.dpi << " dpi, caption " << k;
        EXPECT_NEAR(caption.Height(), at.captionHeight, slack) << at.dpi << " dpi, caption " << k;
    }
}

// Built at each scale the backend reports, and moved to the next one (192
// back to 96), the pages stay below the tab captions by a scaled offset and
// the Boost grid grows with the text, so no value or caption is cut.
TEST(DisplayScale, PagesAndTheBoostGridScaleWithTheWindowsDpi)
{
    ScriptedPrompts prompts;
    // An edit's frame, which the system draws at one width at every scale,
    // lies outside its client rectangle on some backends.
    const int editFrame = [] {
        const ScopedDisplayDpi shown(96);
        CVeltraDlg dlg;
        dlg.Create();
        return 50 - dynamic_cast<CBoostPage&>(dlg.Page(boostTab)).m_edits[0].GetClientRect().Width();
    }();
    for (std::size_t i = 0; i < std::size(scaleCases); ++i) {
        const ScaleCase& built = scaleCases[i];
        const ScaleCase& moved = scaleCases[(i + 1) % std::size(scaleCases)];
        const ScopedDisplayDpi shown(built.dpi);
        CVeltraDlg dlg;
        dlg.Create();
        showActive(dlg);
        expectLaidOutAt(dlg, built, editFrame);

        const ScopedDisplayDpi movedTo(moved.dpi);
        moveToDisplayScale(dlg, moved.dpi);
        expectLaidOutAt(dlg, moved, editFrame);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace veltra::testing
