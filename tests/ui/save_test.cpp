#include <algorithm>
#include <chrono>
#include <functional>

#include "rom/conversions.h"
#include "rom/file.h"
#include "ui/framework/text.h"
#include "window_fixture.h"

namespace veltra::testing {
namespace {

// Where each value is typed, and the first rule that stores it.
struct Field {
    std::string key;
    int tab;
    int id;
    int storedAtRule;
    enum Kind { Clock, Unsigned, Byte, Millivolts } kind;
};

std::vector<Field> allFields()
{
    std::vector<Field> fields = {
        {"gpuClock", frequencyTab, res::gpuClockEditId, 1, Field::Clock},
        {"boostClock", frequencyTab, res::boostClockEditId, 2, Field::Clock},
        {"memClock", frequencyTab, res::memClockEditId, 3, Field::Clock},
    };
    for (int k = 0; k < 45; ++k)
        fields.push_back({"boostTable[" + std::to_string(k) + "]", boostTab, res::firstBoostEditId + k, 4 + k,
                          Field::Clock});
    fields.push_back({"powerDefault", powerTab, res::powerDefaultEditId, 49, Field::Unsigned});
    fields.push_back({"powerMax", powerTab, res::powerMaxEditId, 49, Field::Unsigned});
    fields.push_back({"powerLimitLo", powerTab, res::powerLimitLoEditId, 49, Field::Unsigned});
    fields.push_back({"powerLimitHi", powerTab, res::powerLimitHiEditId, 49, Field::Unsigned});
    fields.push_back({"fanMin", fanTab, res::fanMinEditId, 52, Field::Byte});
    fields.push_back({"fanMax", fanTab, res::fanMaxEditId, 52, Field::Byte});
    fields.push_back({"voltage[0]", voltageTab, res::voltageEditId, 54, Field::Millivolts});
    return fields;
}

// Valid values that differ from the sample's.
std::map<std::string, std::string> validEdits()
{
    std::map<std::string, std::string> edits = {
        {"gpuClock", "1100"},     {"boostClock", "1150"},  {"memClock", "1600"},
        {"powerDefault", "180"},  {"powerMax", "230"},     {"powerLimitLo", "160"},
        {"powerLimitHi", "240"},  {"fanMin", "35"},        {"fanMax", "90"},
        {"voltage[0]", "1200"},
    };
    for (int k = 0; k < 45; ++k)
        edits["boostTable[" + std::to_string(k) + "]"] = std::to_string(1010 + k) + ".5";
    return edits;
}

// The texts that break rule `rule` (1 to 54) and nothing before it.
std::map<std::string, std::string> breaking(int rule)
{
    if (rule == 1)
        return {{"gpuClock", "299.99"}};
    if (rule == 2)
        return {{"boostClock", "2000.01"}};
    if (rule == 3)
        return {{"memClock", "999.99"}};
    if (rule <= 48)
        return {{"boostTable[" + std::to_string(rule - 4) + "]", "250"}};
    if (rule == 49)
        return {{"powerDefault", "600"}, {"powerMax", "500"}};
    if (rule == 50)
        return {{"powerLimitLo", "200"}, {"powerLimitHi", "150"}};
    if (rule == 51)
        return {{"powerDefault", "450"}, {"powerMax", "501"}};
    if (rule == 52)
        return {{"fanMin", "60"}, {"fanMax", "50"}};
    if (rule == 53)
        return {{"fanMin", "5"}, {"fanMax", "50"}};
    return {{"voltage[0]", "1501"}};
}

std::string messageOf(int rule)
{
    if (rule == 1)
        return "300Mhz <= Default Frequency <= 2000Mhz";
    if (rule == 3)
        return "1000Mhz <= Memory Frequency <= 2000Mhz";
    if (rule <= 48)
        return "300Mhz <= Boost Frequency <= 2000Mhz";
    const char* rest[] = {"Default Power <= Max Power", "Power Limit Lo <= Power Limit Hi", "Power <= 500W",
                          "Minimum Fan Speed <= Max Fan Speed", "10% <= FanSpeed <= 100%",
                          "800mV <= Max Voltage <= 1500mV"};
    return rest[rule - 49];
}

// How `describe` spells the value the typed text is stored as.
std::string storedAs(const Field& field, const std::string& text)
{
    switch (field.kind) {
    case Field::Clock:
        return described(parseClock(text));
    case Field::Unsigned:
        return std::to_string(*parseUnsigned32(text));
    case Field::Byte:
        return std::to_string(*parseUnsigned32(text) & 0xFF);
    case Field::Millivolts:
        return std::to_string(static_cast<std::uint32_t>(parseLeadingInt(text)));
    }
    return {};
}

// The value whose edit a failing rule leads to.
std::string leadsTo(int rule)
{
    const char* keys[] = {"gpuClock", "boostClock", "memClock"};
    if (rule <= 3)
        return keys[rule - 1];
    if (rule <= 48)
        return "boostTable[" + std::to_string(rule - 4) + "]";
    const char* rest[] = {"powerDefault", "powerLimitLo", "powerMax", "fanMin", "fanMin", "voltage[0]"};
    return rest[rule - 49];
}

const Field& fieldOf(const std::string& key)
{
    static const std::vector<Field> fields = allFields();
    return *std::find_if(fields.begin(), fields.end(), [&](const Field& f) { return f.key == key; });
}

class SaveTest : public WindowTest {
protected:
    // Types `typed` into the pages, leaves the Voltage page shown and clicks
    // "Save BIOS".
    void typeAndSave(const std::map<std::string, std::string>& typed)
    {
        for (const Field& field : allFields())
            pageEdit(field.tab, field.id).SetWindowText(typed.at(field.key));
        selectTab(voltageTab);
        clickButton(res::saveBiosButtonId);
    }

    // The page holding `key` is shown and the focus is in its edit, with the
    // whole text selected so that typing replaces it.
    void expectLedTo(const std::string& key)
    {
        const Field& field = fieldOf(key);
        EXPECT_EQ(tabs().GetCurSel(), field.tab);
        EXPECT_EQ(visiblePage(), field.tab);
        CEdit& value = pageEdit(field.tab, field.id);
        EXPECT_EQ(CWnd::GetFocus(), &value) << key;
        int start = 0;
        int end = 0;
        value.GetSel(start, end);
        EXPECT_EQ(start, 0) << key;
        EXPECT_EQ(end, static_cast<int>(value.GetWindowText().size())) << key;
    }
};

class SaveRuleTest : public SaveTest, public ::testing::WithParamInterface<int> {};

// Every value is stored before its own check; the first failing rule's
// message is the only one; later values keep what the load gave them; the
// file and the typed texts stay as they were, and the window leads to the
// failing value.
TEST_P(SaveRuleTest, FirstFailingRuleIsReportedAndValuesUpToItAreStored)
{
    const int rule = GetParam();
    const auto path = writeImage("rules.rom", ImageSpec{});
    open(path);
    const auto bytesBefore = readBytes(path);
    std::map<std::string, std::string> expected = describe(dlg.Info());

    std::map<std::string, std::string> typed = validEdits();
    for (const auto& [key, text] : breaking(rule))
        typed[key] = text;
    for (const Field& field : allFields())
        if (field.storedAtRule <= rule)
            expected[field.key] = storedAs(field, typed[field.key]);

    typeAndSave(typed);

    EXPECT_EQ(prompts.messages, std::vector<std::string>{messageOf(rule)});
    EXPECT_EQ(describe(dlg.Info()), expected);
    EXPECT_EQ(readBytes(path), bytesBefore);
    for (const Field& field : allFields())
        EXPECT_EQ(pageEdit(field.tab, field.id).GetWindowText(), typed[field.key]) << field.key;
    expectLedTo(leadsTo(rule));
}

INSTANTIATE_TEST_SUITE_P(EachRule, SaveRuleTest, ::testing::Range(1, 55));

struct LeadCase {
    std::map<std::string, std::string> typed;
    const char* message;
    const char* leadsTo;
};

// A rule over several values leads to the one that breaks it.
TEST_F(SaveTest, ARuleOverSeveralValuesLeadsToTheOneThatBreaksIt)
{
    const LeadCase cases[] = {
        {{{"powerLimitHi", "501"}}, "Power <= 500W", "powerLimitHi"},
        {{{"powerDefault", "501"}, {"powerMax", "501"}}, "Power <= 500W", "powerDefault"},
        {{{"fanMin", "50"}, {"fanMax", "300"}}, "10% <= FanSpeed <= 100%", "fanMax"},
        {{{"fanMin", "50"}, {"fanMax", "356"}}, "10% <= FanSpeed <= 100%", "fanMax"},
        {{{"fanMin", "5"}, {"fanMax", "300"}}, "10% <= FanSpeed <= 100%", "fanMin"},
    };
    open(writeImage("lead.rom", ImageSpec{}));
    for (const LeadCase& c : cases) {
        SCOPED_TRACE(c.leadsTo);
        std::map<std::string, std::string> typed = validEdits();
        for (const auto& [key, text] : c.typed)
            typed[key] = text;
        prompts.messages.clear();
        typeAndSave(typed);
        EXPECT_EQ(prompts.messages, std::vector<std::string>{c.message});
        expectLedTo(c.leadsTo);
    }
}

TEST_F(WindowTest, SaveWritesTheEditedValuesAndShowsThemAsReadBack)
{
    const auto path = writeImage("save.rom", ImageSpec{});
    open(path);
    for (const Field& field : allFields())
        pageEdit(field.tab, field.id).SetWindowText(validEdits()[field.key]);
    pageEdit(frequencyTab, res::gpuClockEditId).SetWindowText("1071.7");
    pageEdit(boostTab, res::firstBoostEditId + 3).SetWindowText("1071.7");
    pageEdit(voltageTab, res::voltageEditId).SetWindowText("1200.7");

    dlg.OnSaveBios();

    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).GetWindowText(), "1071.50");
    EXPECT_EQ(pageEdit(boostTab, res::firstBoostEditId + 3).GetWindowText(), "1071.50");
    EXPECT_EQ(pageEdit(voltageTab, res::voltageEditId).GetWindowText(), "1200");
    EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).GetWindowText(), "230");
    EXPECT_EQ(pageEdit(fanTab, res::fanMaxEditId).GetWindowText(), "90");
    EXPECT_EQ(edit(res::fileNameEditId).GetWindowText(), "save.rom");

    BiosInfo onDisk;
    ASSERT_TRUE(loadRomFile(path, onDisk));
    EXPECT_EQ(describe(onDisk), describe(dlg.Info()));
    EXPECT_FLOAT_EQ(onDisk.gpuClock.value, 1071.5f);
    EXPECT_EQ(onDisk.powerLimitHi.value, 240u);
}

TEST_F(WindowTest, SavingABadChecksumWithoutEditsTurnsTheFieldGreen)
{
    ImageSpec spec;
    spec.correctChecksum = false;
    const auto path = writeImage("bad.rom", spec);
    open(path);
    EXPECT_EQ(checksum().BackColor(), (Color{255, 85, 0}));

    dlg.OnSaveBios();

    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(checksumValid(readBytes(path), spec.board));
    EXPECT_EQ(checksum().BackColor(), (Color{148, 239, 148}));
    const unsigned byte = readBytes(path)[locationsOf(spec.board).checksumReadOffset];
    EXPECT_EQ(edit(res::checksumEditId).GetWindowText(), formatText("%.2X - [%.2X]", byte, byte));
}

TEST_F(WindowTest, LoadedValueBreakingARuleBlocksSavingUntilCorrected)
{
    ImageSpec spec;
    spec.fanMin = 5;
    const auto path = writeImage("fan.rom", spec);
    open(path);
    const auto before = readBytes(path);
    dlg.OnSaveBios();
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"10% <= FanSpeed <= 100%"});
    EXPECT_EQ(readBytes(path), before);

    prompts.messages.clear();
    pageEdit(fanTab, res::fanMinEditId).SetWindowText("10");
    dlg.OnSaveBios();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(pageEdit(fanTab, res::fanMinEditId).GetWindowText(), "10");
}

struct Unreadable {
    const char* key;
    const char* text;
};

class UnreadableNumber : public SaveTest, public ::testing::WithParamInterface<Unreadable> {};

// A power or fan text that is not a whole number ends the save at its
// message: the earlier number is not written in its place, nothing is, and
// the window leads to the text with everything typed kept.
TEST_P(UnreadableNumber, EndsTheSaveAndLeadsToIt)
{
    const auto path = writeImage("unreadable.rom", ImageSpec{});
    open(path);
    const auto bytes = readBytes(path);
    const auto info = describe(dlg.Info());
    std::map<std::string, std::string> typed = validEdits();
    typed[GetParam().key] = GetParam().text;

    typeAndSave(typed);

    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Enter a whole number from 0 to 4294967295."});
    EXPECT_EQ(readBytes(path), bytes);
    for (const Field& field : allFields()) {
        EXPECT_EQ(pageEdit(field.tab, field.id).GetWindowText(), typed[field.key]) << field.key;
        // Values of the pages before it are stored, as for a failing rule;
        // nothing of its own page or after it.
        if (field.tab >= fieldOf(GetParam().key).tab) {
            EXPECT_EQ(describe(dlg.Info())[field.key], info.at(field.key)) << field.key;
        }
    }
    expectLedTo(GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(Texts, UnreadableNumber,
                         ::testing::Values(Unreadable{"powerDefault", "abc"}, Unreadable{"powerLimitHi", "-1"},
                                           Unreadable{"fanMin", ""}, Unreadable{"fanMax", "85%"}));

TEST_F(WindowTest, CancelledSaveAsChecksNothingAndSaysNothing)
{
    const auto path = writeImage("keep.rom", ImageSpec{});
    open(path);
    pageEdit(frequencyTab, res::gpuClockEditId).SetWindowText("5");
    const auto before = visibleState();
    const auto info = describe(dlg.Info());

    dlg.OnSaveBiosAs();  // no answer queued: Cancel

    EXPECT_EQ(prompts.saveQuestions, 1);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(describe(dlg.Info()), info);
    EXPECT_EQ(visibleState(), before);
}

TEST_F(WindowTest, SaveAsMakesTheNewFileCurrent)
{
    const auto first = writeImage("first.rom", ImageSpec{});
    const auto firstBytes = readBytes(first);
    open(first);
    pageEdit(frequencyTab, res::memClockEditId).SetWindowText("1700");
    const auto second = dir / "second.rom";

    saveAs(second);

    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(edit(res::fileNameEditId).GetWindowText(), "second.rom");
    EXPECT_EQ(dlg.FilePath(), second);
    EXPECT_EQ(readBytes(first), firstBytes);
    BiosInfo onDisk;
    ASSERT_TRUE(loadRomFile(second, onDisk));
    EXPECT_FLOAT_EQ(onDisk.memClock.value, 1700.0f);

    pageEdit(frequencyTab, res::memClockEditId).SetWindowText("1800");
    dlg.OnSaveBios();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(readBytes(first), firstBytes);
    ASSERT_TRUE(loadRomFile(second, onDisk));
    EXPECT_FLOAT_EQ(onDisk.memClock.value, 1800.0f);
}

TEST_F(WindowTest, SaveAsChecksOnlyAfterAFileWasChosen)
{
    open(writeImage("first.rom", ImageSpec{}));
    pageEdit(voltageTab, res::voltageEditId).SetWindowText("-5");
    const auto target = dir / "never.rom";

    saveAs(target);

    EXPECT_EQ(prompts.messages, std::vector<std::string>{"800mV <= Max Voltage <= 1500mV"});
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(edit(res::fileNameEditId).GetWindowText(), "first.rom");
}

// Another program changed the file between Open BIOS and Save BIOS: the save
// is refused, the window keeps what it shows and the file stays as the other
// program made it. Save BIOS As to another file is not refused, and once the
// file is opened again it saves.
TEST_F(WindowTest, SaveRefusesAFileAnotherProgramChangedSinceItWasOpened)
{
    namespace fs = std::filesystem;
    const fs::path path = dir / "card.rom";
    std::vector<std::uint8_t> theirs = buildImage(ImageSpec{});
    theirs[2000] ^= 0xFF;
    const struct {
        const char* name;
        std::function<void()> change;
    } cases[] = {
        {"replaced by another file", [&] { fs::rename(dir.write("theirs.rom", theirs), path); }},
        {"rewritten in place, same length, a minute later",
         [&] {
             const auto openedAt = fs::last_write_time(path);
             writeBytes(path, theirs);
             fs::last_write_time(path, openedAt + std::chrono::minutes(1));
         }},
        {"rewritten in place, shorter", [&] { writeBytes(path, {theirs.begin(), theirs.begin() + 70000}); }},
        {"removed", [&] { fs::remove(path); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeImage("card.rom", ImageSpec{});
        open(path);
        pageEdit(frequencyTab, res::gpuClockEditId).SetWindowText("1100");
        c.change();
        const bool stillThere = fs::exists(path);
        const auto left = stillThere ? readBytes(path) : std::vector<std::uint8_t>{};
        const auto entries = folderEntries(dir.path());
        const auto before = visibleState();
        prompts.messages.clear();

        dlg.OnSaveBios();

        EXPECT_EQ(prompts.messages, std::vector<std::string>{"Bios file was changed by another program!"});
        EXPECT_EQ(visibleState(), before);
        EXPECT_EQ(fs::exists(path), stillThere);
        if (stillThere) {
            EXPECT_EQ(readBytes(path), left);
        }
        EXPECT_EQ(folderEntries(dir.path()), entries);

        prompts.messages.clear();
        saveAs(dir / "copy.rom");
        EXPECT_TRUE(prompts.messages.empty());
        EXPECT_EQ(edit(res::fileNameEditId).GetWindowText(), "copy.rom");
        EXPECT_FLOAT_EQ(dlg.Info().gpuClock.value, 1100.0f);
    }

    writeImage("card.rom", ImageSpec{});
    open(path);
    for (const char* clock : {"1100", "1200"}) {
        pageEdit(frequencyTab, res::gpuClockEditId).SetWindowText(clock);
        dlg.OnSaveBios();
    }
    EXPECT_TRUE(prompts.messages.empty());
    BiosInfo onDisk;
    ASSERT_TRUE(loadRomFile(path, onDisk));
    EXPECT_FLOAT_EQ(onDisk.gpuClock.value, 1200.0f);
}

struct SaveFailure {
    const char* name;
    FileStep step;
    bool toMissingFolder;
    const char* message;
};

class FailedSave : public WindowTest, public ::testing::WithParamInterface<SaveFailure> {
protected:
    void TearDown() override { injectFileFailureForTesting(FileStep::None); }
};

TEST_P(FailedSave, ReportsOnceAndChangesNothing)
{
    const auto path = writeImage("current.rom", ImageSpec{});
    open(path);
    const auto bytes = readBytes(path);
    const auto before = visibleState();
    injectFileFailureForTesting(GetParam().step);

    if (GetParam().toMissingFolder)
        saveAs(dir / "no such folder" / "new.rom");
    else
        dlg.OnSaveBios();

    EXPECT_EQ(prompts.messages, std::vector<std::string>{GetParam().message});
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_EQ(visibleState(), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    EachFailure, FailedSave,
    ::testing::Values(SaveFailure{"MissingFolder", FileStep::None, true, "Cannot save bios file!"},
                      SaveFailure{"NoTemporary", FileStep::OpenTemporary, false, "Cannot save bios file!"},
                      SaveFailure{"WriteFails", FileStep::Write, false, "Cannot write bios file!"},
                      SaveFailure{"FlushFails", FileStep::Flush, false, "Cannot write bios file!"},
                      SaveFailure{"RenameFails", FileStep::Rename, false, "Cannot write bios file!"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltra::testing
