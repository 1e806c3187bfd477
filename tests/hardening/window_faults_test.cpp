// The faults and hostile values through the editor window, driven as a user
// would: typed text, the save buttons, scripted answers to its dialogs. The
// suite runs this under a comma-decimal locale, which the window must not
// show or read.
#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>

#include "ui/res/resource_ids.h"
#include "tests/hardening/child_process.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/window_fixture.h"
#include "ui/veltra_app.h"

extern char** environ;

namespace veltra::testing {
namespace {

namespace fs = std::filesystem;

class WindowFault : public WindowTest {
protected:
    void SetUp() override
    {
        fs::permissions(dir.path(), fs::perms(0755));
        path = writeImage("card.rom", ImageSpec{});
        open(path);
        ASSERT_TRUE(prompts.messages.empty());
        bytes = readBytes(path);
        entries = folderEntries(dir.path());
    }

    void expectNothingChanged()
    {
        EXPECT_EQ(readBytes(path), bytes);
        EXPECT_EQ(folderEntries(dir.path()), entries);
    }

    // Saves from a child process with `options`; its messages come back as
    // text, and whether the window changed what it shows.
    std::string saveInChild(const ChildOptions& options)
    {
        const ChildOutcome child = runInChild(options, [&] {
            const auto before = visibleState();
            dlg.OnSaveBios();
            std::string report;
            for (const std::string& message : prompts.messages)
                report += message + "\n";
            return report + (visibleState() == before ? "window unchanged" : "window changed");
        });
        EXPECT_TRUE(child.exitedNormally && child.exitCode == 0);
        return child.report;
    }

    fs::path path;
    std::vector<std::uint8_t> bytes;
    std::set<std::string> entries;
};

TEST_F(WindowFault, CommaLocaleChangesNeitherWhatIsShownNorWhatIsRead)
{
    // The window system takes the C library's locale from the environment.
    EXPECT_STREQ(std::localeconv()->decimal_point, ",") << "the suite should run this under de_DE.UTF-8";
    EXPECT_EQ(pageEdit(frequencyTab, res::boostClockEditId).GetWindowText(), "1058.50");
    pageEdit(frequencyTab, res::gpuClockEditId).SetWindowText("1071.5");
    dlg.OnSaveBios();
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();
    EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).GetWindowText(), "1071.50");
    EXPECT_EQ(dlg.Info().gpuClock.value, 1071.5f);
}

TEST_F(WindowFault, HostileTextInAPageEditGivesItsRulesMessageAndWritesNothing)
{
    const std::string hostile[] = {"1e309", "-1e309", "nan", "inf", "0x200", "99999999999999999999", "-0", "   ",
                                   std::string(10000, '9'), "\t"};
    const struct {
        int tab;
        int id;
        const char* message;
    } edits[] = {
        {frequencyTab, res::gpuClockEditId, "300Mhz <= Default Frequency <= 2000Mhz"},
        {frequencyTab, res::memClockEditId, "1000Mhz <= Memory Frequency <= 2000Mhz"},
        {boostTab, res::firstBoostEditId + 44, "300Mhz <= Boost Frequency <= 2000Mhz"},
        {voltageTab, res::voltageEditId, "800mV <= Max Voltage <= 1500mV"},
    };
    for (const auto& edit : edits) {
        for (const std::string& text : hostile) {
            SCOPED_TRACE(std::to_string(edit.id) + ": " + text.substr(0, 24));
            CEdit& field = pageEdit(edit.tab, edit.id);
            const std::string before = field.GetWindowText();
            field.SetWindowText(text);
            prompts.messages.clear();
            dlg.OnSaveBios();
            EXPECT_EQ(prompts.messages, std::vector<std::string>{edit.message});
            expectNothingChanged();
            field.SetWindowText(before);
        }
    }
}

// As root no permission bit stops a write: these save from a child that has
// become an ordinary user.
TEST_F(WindowFault, SaveThatTheFileSystemRefusesKeepsTheFile)
{
    if (!runningAsRoot())
        GTEST_SKIP() << needsRoot;
    pageEdit(frequencyTab, res::gpuClockEditId).SetWindowText("1100");
    const struct {
        const char* name;
        bool folderOurs;
        fs::perms mode;
    } cases[] = {
        {"target read-only", true, fs::perms(0444)},
        {"folder not writable", false, fs::perms(0644)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(::chown(dir.path().c_str(), c.folderOurs ? nobodyId : 0, c.folderOurs ? nobodyId : 0), 0);
        ASSERT_EQ(::chown(path.c_str(), nobodyId, nobodyId), 0);
        fs::permissions(path, c.mode);
        EXPECT_EQ(saveInChild(asNobody()), "Cannot save bios file!\nwindow unchanged");
        expectNothingChanged();
    }
}

// A file-size limit (`ulimit -f`) below the image: the program, from its own
// start, must get "Cannot write bios file!" rather than be killed half way
// through the write by the signal the limit sends.
TEST_F(WindowFault, DiskFullFromTheProgramsOwnStartGivesItsMessage)
{
    const ChildOutcome child = runInChild(withFileSizeLimit(4096), [&] {
        prompts.messages.clear();
        prompts.whileModal = [&](CDialog& shown) {
            auto& window = dynamic_cast<CVeltraDlg&>(shown);
            prompts.openAnswers.push_back(path);
            window.OnOpenBios();
            window.Page(frequencyTab).GetDlgItem(res::gpuClockEditId)->SetWindowText("1100");
            window.OnSaveBios();
        };
        theApp.InitInstance();
        std::string report;
        for (const std::string& message : prompts.messages)
            report += message + "\n";
        return report;
    });
    ASSERT_TRUE(child.exitedNormally) << "killed by the file-size limit";
    EXPECT_EQ(child.report, "Cannot write bios file!\n");
    expectNothingChanged();
}

// The same for the real program: once started, veltra ignores SIGXFSZ.
TEST_F(WindowFault, TheWindowProgramIgnoresTheFileSizeLimitSignal)
{
    std::vector<std::string> args = {VELTRA_WINDOW_PATH};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, VELTRA_WINDOW_PATH, nullptr, nullptr, argv.data(), environ), 0);

    // Its start runs before its window; look until the signal is ignored or
    // the program has gone, for at most a minute.
    const unsigned long bit = 1ul << (SIGXFSZ - 1);
    bool ignored = false;
    bool gone = false;
    for (int look = 0; look < 600 && !ignored && !gone; ++look) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        gone = true;
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with("State:"))
                gone = line.find('Z') != std::string::npos;
            if (line.starts_with("SigIgn:"))
                ignored = (std::stoul(line.substr(7), nullptr, 16) & bit) != 0;
        }
        ::usleep(100000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_TRUE(ignored);
}

}  // namespace
}  // namespace veltra::testing
