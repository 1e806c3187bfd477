#include <functional>
#include <map>
#include <optional>
#include <set>

#include "tests/support/structured_image.h"
#include "ui/framework/text.h"
#include "window_fixture.h"

// What the pages show of each image: as many boost entries as its ladder,
// five to a row, the page scrolling past nine rows; and the values an image
// lacks: their edits disabled and empty, named on their page's line, never
// read nor written.
namespace veltra::testing {
namespace {

constexpr int firstBoost = res::firstBoostEditId;

// A board that opens through its own tables alone (a GeForce GTX 770's ids),
// laid out as the three boards' are but for what `changes` make its tables say.
using SpecChange = std::function<void(StructuredSpec&)>;

StructuredImage boardImage(const std::vector<SpecChange>& changes = {})
{
    StructuredSpec spec;
    spec.values.board = BoardModel::Other;
    spec.values.deviceId = 0x1184;
    for (const SpecChange& change : changes)
        change(spec);
    return buildStructuredImage(spec);
}

// P0's range of extra entries: a ladder of highest - lowest entries.
SpecChange ladderRange(std::uint8_t lowest, std::uint8_t highest)
{
    return [=](StructuredSpec& spec) {
        spec.contents.voltageFrequencyEntries = {{7, 0, 0}, {10, 0, 20}, {13, lowest, highest}, {15, lowest, highest}};
    };
}

// No P0 entry in the voltage-frequency table: no ladder.
SpecChange noLadder()
{
    return [](StructuredSpec& spec) { spec.contents.voltageFrequencyEntries = {{7, 0, 0}, {10, 0, 20}, {13, 1, 46}}; };
}

// The word of ladder entry `k` as the file holds it.
std::uint16_t ladderWord(const StructuredImage& image, const std::vector<std::uint8_t>& bytes, std::size_t k)
{
    return getU16(bytes, image.fields.ladder.at(k));
}

// The grid's cells in pixels of the unscrolled page at 96 dpi.
CRect captionCell(int k)
{
    const int x = 20 + 75 * (k % 5), y = 28 + 21 * (k / 5);
    return {x - 15, y - 16, x, y};
}

CRect editCell(int k)
{
    const int x = 20 + 75 * (k % 5), y = 28 + 21 * (k / 5);
    return {x + 5, y - 18, x + 55, y};
}

bool overlap(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string described(const CRect& r)
{
    return formatText("(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
}

// Every value's edit, by page.
const std::vector<std::pair<int, int>> valueEdits = {
    {frequencyTab, res::gpuClockEditId}, {frequencyTab, res::boostClockEditId}, {frequencyTab, res::memClockEditId},
    {powerTab, res::powerDefaultEditId}, {powerTab, res::powerMaxEditId},       {powerTab, res::powerLimitLoEditId},
    {powerTab, res::powerLimitHiEditId}, {fanTab, res::fanMinEditId},           {fanTab, res::fanMaxEditId},
    {voltageTab, res::voltageEditId},
};

class ContentsTest : public WindowTest {
protected:
    std::filesystem::path writeBoard(const std::string& name, const std::vector<SpecChange>& changes)
    {
        return dir.write(name, boardImage(changes).bytes);
    }

    // The page's line as the user sees it; empty when it shows none.
    std::string lineOf(int tab)
    {
        selectTab(tab);
        const CWnd* line = dlg.Page(tab).GetDlgItem(res::lackingLineId);
        return line && line->IsWindowVisible() ? line->GetWindowText() : std::string();
    }

    // The Boost page's children as the user and a screen reader meet them:
    // each caption's text and each edit's id, with where it lies.
    std::vector<std::string> grid() const
    {
        std::vector<std::string> cells;
        for (const CWnd* child : dlg.Page(boostTab).Children()) {
            if (child->GetDlgCtrlID() == res::lackingLineId)
                continue;
            const std::string name = dynamic_cast<const CEdit*>(child) ? std::to_string(child->GetDlgCtrlID())
                                                                        : child->GetWindowText();
            cells.push_back(name + " " + described(placeOf(*child)));
        }
        return cells;
    }

    // Whether the edit lies whole inside the page's visible area.
    bool inView(int tab, int id) const
    {
        const CRect client = dlg.Page(tab).GetClientRect();
        const CRect at = placeOf(pageEdit(tab, id));
        return at.top >= 0 && at.left >= 0 && at.bottom <= client.bottom && at.right <= client.right;
    }
};

std::vector<std::string> expectedGrid(int entries)
{
    std::vector<std::string> cells;
    for (int k = 0; k < entries; ++k) {
        cells.push_back(formatText("%02d ", k + 1) + described(captionCell(k)));
        cells.push_back(std::to_string(firstBoost + k) + " " + described(editCell(k)));
    }
    return cells;
}

// Loaded one after another, each image's ladder replaces the last one's:
// its entries in order, captioned, in the same cells as the three boards'
// 45, and a scroll bar only past nine rows.
TEST_F(ContentsTest, TheGridHoldsTheLadderOfEachImageLoaded)
{
    ImageSpec board;
    board.board = BoardModel::Gtx670;
    const auto threeBoard = writeImage("gtx670.rom", board);
    struct Load {
        const char* name;
        std::optional<std::vector<SpecChange>> changes;  // unset: the GTX 670 image
        int entries;
    };
    const Load loads[] = {
        {"52 entries", std::vector{ladderRange(0, 52)}, 52},
        {"one entry", std::vector{ladderRange(7, 8)}, 1},
        {"no ladder", std::vector{noLadder()}, 0},
        {"the GTX 670's 45", std::nullopt, 45},
        {"its own 45", std::vector<SpecChange>{}, 45},
    };
    for (const Load& load : loads) {
        SCOPED_TRACE(load.name);
        std::optional<StructuredImage> image;
        if (load.changes)
            image = boardImage(*load.changes);
        open(image ? dir.write("ladder.rom", image->bytes) : threeBoard);
        EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();
        selectTab(boostTab);

        EXPECT_EQ(grid(), expectedGrid(load.entries));
        for (int k = 0; k < load.entries; ++k) {
            const double word = image ? ladderWord(*image, image->bytes, static_cast<std::size_t>(k))
                                      : board.boostTableWords[static_cast<std::size_t>(k)];
            EXPECT_EQ(pageEdit(boostTab, firstBoost + k).GetWindowText(), twoDecimals(word / 2)) << k;
        }
        EXPECT_EQ(dlg.Page(boostTab).GetDlgItem(firstBoost + load.entries), nullptr);
        EXPECT_EQ(showsScrollBar(dlg.Page(boostTab)), load.entries > 45);
        EXPECT_EQ(lineOf(boostTab), load.entries == 0 ? "This bios has no boost table!" : "");
    }
}

// A ladder longer than the page scrolls: the wheel brings the last row into
// view and back, a rule that fails on the last entry shows it whole, and
// the entries past the 45th are saved.
TEST_F(ContentsTest, ALongLadderScrollsEveryEntryIntoViewAndIsSavedWhole)
{
    const StructuredImage image = boardImage({ladderRange(0, 52)});
    const auto path = dir.write("long.rom", image.bytes);
    open(path);
    selectTab(boostTab);
    CDialog& page = dlg.Page(boostTab);
    ASSERT_TRUE(showsScrollBar(page));
    EXPECT_TRUE(inView(boostTab, firstBoost));
    EXPECT_FALSE(inView(boostTab, firstBoost + 51));

    turnWheel(pageEdit(boostTab, firstBoost + 2), -10);
    EXPECT_TRUE(inView(boostTab, firstBoost + 51));
    EXPECT_FALSE(inView(boostTab, firstBoost));
    turnWheel(page, 10);
    EXPECT_EQ(grid(), expectedGrid(52));

    pageEdit(boostTab, firstBoost + 51).SetWindowText("250");
    selectTab(frequencyTab);
    clickButton(res::saveBiosButtonId);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"300Mhz <= Boost Frequency <= 2000Mhz"});
    EXPECT_EQ(visiblePage(), boostTab);
    EXPECT_EQ(CWnd::GetFocus(), &pageEdit(boostTab, firstBoost + 51));
    EXPECT_TRUE(inView(boostTab, firstBoost + 51));
    EXPECT_EQ(readBytes(path), image.bytes);

    prompts.messages.clear();
    typeInto(boostTab, firstBoost + 51, "1234.5");
    clickButton(res::saveBiosButtonId);
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();
    EXPECT_EQ(pageEdit(boostTab, firstBoost + 51).GetWindowText(), "1234.50");
    const std::vector<std::uint8_t> saved = readBytes(path);
    EXPECT_EQ(ladderWord(image, saved, 51), 2469);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < image.bytes.size(); ++i)
        changed += saved[i] != image.bytes[i];
    EXPECT_LE(changed, 3u);  // the word and the checksum

    // An edit made for this ladder takes a dropped file as the window does;
    // the focus in an entry that goes stays on the grid.
    click(pageEdit(boostTab, firstBoost + 51));
    const auto other = writeImage("gtx680.rom", ImageSpec{});
    EXPECT_TRUE(dropFiles(dlg, pageEdit(boostTab, firstBoost + 49), {other}));
    EXPECT_EQ(dlg.FilePath(), other);
    EXPECT_EQ(grid(), expectedGrid(45));
    EXPECT_FALSE(showsScrollBar(page));
    EXPECT_EQ(CWnd::GetFocus(), &pageEdit(boostTab, firstBoost + 44));
}

struct LackCase {
    const char* name;
    std::vector<SpecChange> changes;
    std::map<int, std::string> lines;
    std::set<std::pair<int, int>> absent;
};

class Lacking : public ContentsTest, public ::testing::WithParamInterface<LackCase> {};

// The image lacks some values: their edits are disabled and empty, each page
// says in one line which of its values are missing, beside no control, and
// a save reads and writes nothing of them. The next full image brings every
// edit back.
TEST_P(Lacking, DisablesEmptiesAndNamesWhatTheImageLacks)
{
    const LackCase& c = GetParam();
    const auto path = writeBoard("lacking.rom", c.changes);
    const auto bytes = readBytes(path);
    open(path);
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();

    for (const auto& [tab, id] : valueEdits) {
        const bool absent = c.absent.count({tab, id}) > 0;
        EXPECT_EQ(pageEdit(tab, id).IsWindowEnabled(), !absent) << tab << " " << id;
        EXPECT_EQ(pageEdit(tab, id).GetWindowText().empty(), absent) << tab << " " << id;
    }
    for (int tab = frequencyTab; tab <= voltageTab; ++tab) {
        const std::string expected = c.lines.count(tab) ? c.lines.at(tab) : "";
        EXPECT_EQ(lineOf(tab), expected) << tab;
        if (expected.empty())
            continue;
        const CWnd& line = *dlg.Page(tab).GetDlgItem(res::lackingLineId);
        EXPECT_TRUE(showsWholeText(line)) << expected;
        const CRect client = dlg.Page(tab).GetClientRect();
        const CRect at = placeOf(line);
        EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.right <= client.right && at.bottom <= client.bottom)
            << described(at);
        for (const CWnd* child : dlg.Page(tab).Children()) {
            if (dynamic_cast<const CEdit*>(child)) {
                EXPECT_FALSE(overlap(at, placeOf(*child))) << child->GetDlgCtrlID();
            }
        }
    }

    clickButton(res::saveBiosButtonId);
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();
    EXPECT_EQ(readBytes(path), bytes);

    open(writeImage("full.rom", ImageSpec{}));
    for (const auto& [tab, id] : valueEdits) {
        EXPECT_TRUE(pageEdit(tab, id).IsWindowEnabled()) << tab << " " << id;
        EXPECT_FALSE(pageEdit(tab, id).GetWindowText().empty()) << tab << " " << id;
    }
    for (int tab = frequencyTab; tab <= voltageTab; ++tab)
        EXPECT_EQ(lineOf(tab), "") << tab;
}


INSTANTIATE_TEST_SUITE_P(
    Images, Lacking,
    ::testing::Values(
        LackCase{"PowerDefaultsAndVoltage",
                 {[](StructuredSpec& s) {
                     s.contents.powerDefaultsEntry = noEntry;
                     s.contents.voltageFirstEntry = noEntry;
                 }},
                 {{powerTab, "This bios has no Default Power and Max Power!"}, {voltageTab, "This bios has no Max Voltage!"}},
                 {{powerTab, res::powerDefaultEditId}, {powerTab, res::powerMaxEditId}, {voltageTab, res::voltageEditId}}},
        LackCase{"AllPower",
                 {[](StructuredSpec& s) { s.contents.powerLimitsEntry = s.contents.powerDefaultsEntry = noEntry; }},
                 {{powerTab, "This bios has no power values!"}},
                 {{powerTab, res::powerDefaultEditId}, {powerTab, res::powerMaxEditId},
                  {powerTab, res::powerLimitLoEditId}, {powerTab, res::powerLimitHiEditId}}},
        LackCase{"BothClocks",
                 {[](StructuredSpec& s) { s.contents.boostClockEntry = s.contents.baseClockEntry = noEntry; }},
                 {{frequencyTab, "This bios has no Default Frequency and Boost Frequency!"}},
                 {{frequencyTab, res::gpuClockEditId}, {frequencyTab, res::boostClockEditId}}},
        LackCase{"AllClocks",
                 // Every memory strap unused: the memory clock's unit is unknown.
                 {[](StructuredSpec& s) {
                     s.contents.boostClockEntry = s.contents.baseClockEntry = noEntry;
                     s.contents.memoryType = 0xF;
                 }},
                 {{frequencyTab, "This bios has no clocks!"}},
                 {{frequencyTab, res::gpuClockEditId}, {frequencyTab, res::boostClockEditId},
                  {frequencyTab, res::memClockEditId}}},
        LackCase{"FanAndLadder",
                 {[](StructuredSpec& s) { s.contents.fanEntry.reset(); }, noLadder()},
                 {{fanTab, "This bios has no fan speed range!"}, {boostTab, "This bios has no boost table!"}},
                 {{fanTab, res::fanMinEditId}, {fanTab, res::fanMaxEditId}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltra::testing
