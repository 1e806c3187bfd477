#include "ui/command_line.h"
#include "ui/framework/text.h"
#include "ui/veltra_app.h"
#include "window_fixture.h"

// Files from outside: the command line, files dropped on the window, and the
// question before a file replaces typed values.
namespace veltra::testing {
namespace {

const std::string usage =
    "Edits the video BIOS images of GeForce 600 and 700 series (Kepler) boards.\n"
    "Usage: bin/veltra [OPTIONS] [FILE]\n"
    "\n"
    "Positionals:\n"
    "  FILE                        BIOS file to open at start.\n"
    "\n"
    "Options:\n"
    "  -h,--help                   Shows this help.\n"
    "  -v,--version                Shows the version.\n"
    "\n";

// What the program only prints ends it before any window; the usage names the
// program as it was started.
TEST(CommandLine, HelpVersionAndUsageErrorsOnlyPrint)
{
    const struct {
        std::vector<std::string> arguments;
        std::optional<int> exitCode;
        std::string standardOutput;
        std::string standardError;
        std::string file;
    } cases[] = {
        {{"--help"}, 0, usage, "", ""},
        {{"-h"}, 0, usage, "", ""},
        {{"--version"}, 0, "Veltra 1.1\n", "", ""},
        {{"-v"}, 0, "Veltra 1.1\n", "", ""},
        {{"card.rom", "--help"}, 0, usage, "", ""},
        {{"--bogus", "card.rom"}, 2, "", "The following argument was not expected: --bogus\n\n" + usage, ""},
        {{"a.rom", "b.rom"}, 2, "", "The following argument was not expected: b.rom\n\n" + usage, ""},
        {{}, std::nullopt, "", "", ""},
        {{"card.rom"}, std::nullopt, "", "", "card.rom"},
        {{"/card.rom"}, std::nullopt, "", "", "/card.rom"},
        {{"--", "-card.rom"}, std::nullopt, "", "", "-card.rom"},
        {{"caf\xC3\xA9.rom"}, std::nullopt, "", "", "caf\xC3\xA9.rom"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"bin/veltra"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(arguments.size() > 1 ? arguments[1] : "no arguments");
        const CommandLine line = readCommandLine(arguments);
        EXPECT_EQ(line.exitCode, c.exitCode);
        EXPECT_EQ(line.standardOutput, c.standardOutput);
        EXPECT_EQ(line.standardError, c.standardError);
        EXPECT_EQ(line.file, pathFromText(c.file));
    }
}

class StartWithFile : public ::testing::Test {
protected:
    // Runs `veltra ARGUMENTS`; the window's state is read while it is shown.
    void run(const std::vector<std::string>& arguments)
    {
        prompts.whenModal = [this](CDialog& window) {
            auto& dlg = dynamic_cast<CVeltraDlg&>(window);
            shownFile = dlg.GetDlgItem(res::fileNameEditId)->GetWindowText();
            shownPath = dlg.FilePath();
            visible = dlg.IsWindowVisible();
            return commandCancel;
        };
        std::vector<std::string> line{"veltra"};
        line.insert(line.end(), arguments.begin(), arguments.end());
        EXPECT_FALSE(theApp.RunCommandLine(line));
        EXPECT_EQ(theApp.ExitInstance(), 0);
    }

    ScriptedPrompts prompts;
    TempDir dir;
    std::string shownFile;
    std::filesystem::path shownPath;
    bool visible = false;
};

TEST_F(StartWithFile, OpensItAsOpenBiosWould)
{
    const auto path = dir.write("card.rom", buildImage(ImageSpec{}));
    // A name relative to the current folder becomes the full path.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    run({"card.rom"});
    std::filesystem::current_path(previous);

    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(prompts.modalTitles, std::vector<std::string>{"Veltra v1.1"});
    EXPECT_TRUE(visible);
    EXPECT_EQ(shownFile, "card.rom");
    EXPECT_EQ(shownPath.lexically_normal(), path.lexically_normal());
    EXPECT_EQ(prompts.openQuestions, 0);
}

TEST_F(StartWithFile, AFileThatDoesNotLoadGivesTheLoadsMessagesThenTheEmptyWindow)
{
    run({pathText(dir / "missing.rom")});
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{"Cannot open bios file!", "Load bios file failed!"}));
    EXPECT_EQ(prompts.modalTitles, std::vector<std::string>{"Veltra v1.1"});
    EXPECT_EQ(shownFile, "");
    EXPECT_EQ(shownPath, "");
}

TEST_F(StartWithFile, WithoutAFileTheEmptyWindowRuns)
{
    run({});
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(prompts.modalTitles, std::vector<std::string>{"Veltra v1.1"});
    EXPECT_EQ(shownFile, "");
}

class DropTest : public WindowTest {
protected:
    bool drop(const std::vector<std::filesystem::path>& files, CWnd& target)
    {
        return dropFiles(dlg, target, files);
    }
};

TEST_F(DropTest, OneFileOpensWhereverItIsDropped)
{
    ImageSpec spec;
    spec.fanMax = 77;
    const auto path = writeImage("dropped.rom", spec);
    CWnd* targets[] = {&button(res::saveBiosButtonId), &edit(res::boardEditId),
                       &pageEdit(frequencyTab, res::gpuClockEditId), &dlg.Page(frequencyTab)};
    for (CWnd* target : targets) {
        open(writeImage("first.rom", ImageSpec{}));
        EXPECT_TRUE(drop({path}, *target));
        EXPECT_TRUE(prompts.messages.empty());
        EXPECT_EQ(edit(res::fileNameEditId).GetWindowText(), "dropped.rom");
        EXPECT_EQ(dlg.FilePath(), path);
        EXPECT_EQ(pageEdit(fanTab, res::fanMaxEditId).GetWindowText(), "77");
        // A file dropped on an edit is not typed into it.
        EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).GetWindowText(), "1006.00");
    }
}

TEST_F(DropTest, SeveralFilesAreRefused)
{
    open(writeImage("first.rom", ImageSpec{}));
    const auto before = visibleState();
    const auto a = writeImage("a.rom", ImageSpec{});
    const auto b = writeImage("b.rom", ImageSpec{});

    EXPECT_TRUE(drop({a, b}, dlg.Page(frequencyTab)));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Drop one bios file at a time!"});
    EXPECT_EQ(visibleState(), before);
}

enum class Arrival { OpenBios, Drop };

struct ReplaceCase {
    const char* name;
    Arrival arrival;
    std::optional<bool> answer;  // unset: nothing typed, no question
};

class ReplaceEdits : public DropTest, public ::testing::WithParamInterface<ReplaceCase> {};

// A file replaces typed values only after the user agreed; No keeps the
// window, typed text included, as it was.
TEST_P(ReplaceEdits, AsksBeforeAFileReplacesTypedValues)
{
    const ReplaceCase& c = GetParam();
    open(writeImage("first.rom", ImageSpec{}));
    if (c.answer) {
        typeInto(powerTab, res::powerMaxEditId, "240");
        prompts.yesNoAnswers.push_back(*c.answer);
    }
    ImageSpec next;
    next.powerMaxMilliwatts = 300000;
    const auto path = writeImage("next.rom", next);
    const auto before = visibleState();

    if (c.arrival == Arrival::OpenBios) {
        prompts.openAnswers.push_back(path);
        press("Ctrl+O");
    } else {
        drop({path}, dlg.Page(powerTab));
    }

    EXPECT_EQ(prompts.questions,
              c.answer ? std::vector<std::string>{"Discard unsaved edits?"} : std::vector<std::string>{});
    EXPECT_TRUE(prompts.messages.empty());
    if (c.answer.value_or(true)) {
        EXPECT_EQ(edit(res::fileNameEditId).GetWindowText(), "next.rom");
        EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).GetWindowText(), "300");
    } else {
        EXPECT_EQ(visibleState(), before);
        EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).GetWindowText(), "240");
    }
}

INSTANTIATE_TEST_SUITE_P(Arrivals, ReplaceEdits,
                         ::testing::Values(ReplaceCase{"OpenUnedited", Arrival::OpenBios, std::nullopt},
                                           ReplaceCase{"OpenEditedNo", Arrival::OpenBios, false},
                                           ReplaceCase{"OpenEditedYes", Arrival::OpenBios, true},
                                           ReplaceCase{"DropUnedited", Arrival::Drop, std::nullopt},
                                           ReplaceCase{"DropEditedNo", Arrival::Drop, false},
                                           ReplaceCase{"DropEditedYes", Arrival::Drop, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The question comes once a file was chosen: cancelling the dialog asks nothing.
TEST_F(DropTest, CancellingOpenWithTypedValuesAsksNothing)
{
    open(writeImage("first.rom", ImageSpec{}));
    typeInto(voltageTab, res::voltageEditId, "1200");
    const auto before = visibleState();
    clickButton(res::openBiosButtonId);
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(visibleState(), before);
}

}  // namespace
}  // namespace veltra::testing
