#include <QApplication>

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

TEST_F(WindowTest, ButtonsRunTheirCommands)
{
    const auto path = writeImage("clicked.rom", ImageSpec{});
    prompts.openAnswers.push_back(qpath(path));
    clickButton(res::openBiosButtonId);
    EXPECT_EQ(edit(res::fileNameEditId).text(), "clicked.rom");

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

}  // namespace
}  // namespace veltra::testing
