// The same faults and hostile values, met through veltra-cli as a user runs
// it: one process per command, its status, its streams and the files it
// leaves on disk.
#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "tests/cli/cli_process.h"
#include "tests/hardening/child_process.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

namespace fs = std::filesystem;

std::string summary(const CliRun& run)
{
    return std::to_string(run.status) + " | " + run.err + " | " + run.out;
}

// Status 1, the message(s) on standard error, nothing on standard output.
std::string failedWith(const std::string& messages)
{
    return "1 | " + messages + " | ";
}

class CliFault : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::permissions(dir.path(), fs::perms(0755));
        original = buildImage(ImageSpec{});
        file = dir.write("card.rom", original);
    }

    void expectUntouched()
    {
        EXPECT_EQ(readBytes(file), original);
        EXPECT_EQ(folderEntries(dir.path()), entriesBefore);
    }

    // Runs veltra-cli from a child with `options` (its limits and user carry
    // over to the program).
    std::string runAs(const ChildOptions& options, const std::vector<std::string>& args)
    {
        const ChildOutcome child = runInChild(options, [&] { return summary(runCli(args)); });
        EXPECT_TRUE(child.exitedNormally && child.exitCode == 0);
        return child.report;
    }

    TempDir dir;
    std::vector<std::uint8_t> original;
    fs::path file;
    std::set<std::string> entriesBefore;
};

// Status 1 and each message naming `file`, nothing on standard output.
std::string failedWith(const fs::path& file, const std::vector<std::string>& messages)
{
    std::string err;
    for (const std::string& message : messages) err += "veltra-cli: " + file.string() + ": " + message + "\n";
    return failedWith(err);
}

// A text that is a number in the value's own form reaches the rules and gets
// their message; anything else is refused as a usage error before any file
// is read.
TEST_F(CliFault, HostileValuesGiveTheRulesMessageOrAUsageErrorAndWriteNothing)
{
    const struct {
        std::string text;
        bool decimal;  // a number in the clocks' form
        bool whole;    // a number in the voltage's form
    } hostile[] = {
        {"1e309", false, false}, {"-1e309", false, false}, {"nan", false, false}, {"inf", false, false},
        {"0x200", false, false}, {"99999999999999999999", true, true}, {"-0", true, false}, {"   ", false, false},
        {"", false, false}, {std::string(10000, '9'), true, true}, {"4294968096", true, true},
        {"2000.0001", true, false}, {"1200\x1b[2J", false, false},
    };
    const struct {
        const char* name;
        const char* message;
        bool clock;
    } edits[] = {
        {"gpu-clock", "300Mhz <= Default Frequency <= 2000Mhz", true},
        {"mem-clock", "1000Mhz <= Memory Frequency <= 2000Mhz", true},
        {"boost-45", "300Mhz <= Boost Frequency <= 2000Mhz", true},
        {"voltage", "800mV <= Max Voltage <= 1500mV", false},
    };
    entriesBefore = folderEntries(dir.path());
    for (const auto& edit : edits) {
        for (const auto& h : hostile) {
            SCOPED_TRACE(std::string(edit.name) + "=" + h.text.substr(0, 24));
            const CliRun run = runCli({"set", file.string(), std::string(edit.name) + "=" + h.text});
            if (edit.clock ? h.decimal : h.whole) {
                EXPECT_EQ(summary(run), failedWith(file, {edit.message}));
            } else {
                EXPECT_EQ(run.status, 2);
                EXPECT_TRUE(run.err.starts_with("veltra-cli set: " + std::string(edit.name) + " needs a ")) << run.err;
                EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);  // one line, however long the text
            }
            expectUntouched();
        }
    }
    // The power and fan values must be whole unsigned numbers before anything is read.
    for (const auto& h : hostile) {
        SCOPED_TRACE("power-max=" + h.text.substr(0, 24));
        const CliRun run = runCli({"set", file.string(), "power-max=" + h.text});
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.starts_with("veltra-cli set: power-max needs a whole number")) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
        expectUntouched();
    }
}

TEST_F(CliFault, FileFaultsKeepTheFileAndSayWhy)
{
    const ChildOptions root{.asNobody = false, .fileSizeLimit = std::nullopt};
    const ChildOptions nobody = asNobody();
    const ChildOptions fullDisk = withFileSizeLimit(original.size() / 2);
    const std::string loadFailed = "Load bios file failed!";
    using Prepare = std::function<void(const fs::path& folder, const fs::path& image)>;
    const Prepare noChange = [](const fs::path&, const fs::path&) {};
    struct Case {
        const char* name;
        Prepare prepare;
        ChildOptions options;
        std::vector<std::string> args;  // FILE stands for the image
        std::string expected;
    };
    const std::vector<std::string> setClock = {"set", "FILE", "gpu-clock=1100"};
    const std::vector<std::string> setFan = {"set", "FILE", "fan-min=20"};
    const Case cases[] = {
        {"target read-only",
         [](const fs::path& folder, const fs::path& image) {
             ::chown(folder.c_str(), nobodyId, nobodyId);
             ::chown(image.c_str(), nobodyId, nobodyId);
             ::chmod(image.c_str(), 0444);
         },
         nobody, setClock, failedWith(file, {"Cannot save bios file!"})},
        {"folder not writable",
         [](const fs::path&, const fs::path& image) { ::chown(image.c_str(), nobodyId, nobodyId); }, nobody,
         setClock, failedWith(file, {"Cannot save bios file!"})},
        {"disk full during the write", noChange, fullDisk, setClock, failedWith(file, {"Cannot write bios file!"})},
        {"source unreadable", [](const fs::path&, const fs::path& image) { ::chmod(image.c_str(), 0600); }, nobody,
         {"show", "FILE"}, failedWith(file, {"Cannot open bios file!", loadFailed})},
        {"source removed",
         [](const fs::path& folder, const fs::path& image) { fs::rename(image, folder / "moved.rom"); }, root,
         setFan, failedWith(file, {"Cannot open bios file!", loadFailed})},
        {"source truncated to nothing", [](const fs::path&, const fs::path& image) { fs::resize_file(image, 0); },
         root, setFan, failedWith(file, {"Unknow model!", loadFailed})},
        {"source past the capacity",
         [](const fs::path&, const fs::path& image) { fs::resize_file(image, RomImage::capacity + 1); }, root,
         setFan, failedWith(file, {"Bios file is too large!", loadFailed})},
        {"source is a GTX 660",
         [](const fs::path&, const fs::path& image) {
             ImageSpec spec;
             spec.deviceId = 0x11C0;
             writeBytes(image, buildImage(spec));
         },
         root, setFan, failedWith(file, {"Geforce GTX 660 is not supported!", loadFailed})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(file, original);
        ::chown(dir.path().c_str(), 0, 0);
        ::chown(file.c_str(), 0, 0);
        ::chmod(file.c_str(), 0644);
        for (const auto& entry : fs::directory_iterator(dir.path()))
            if (entry.path() != file)
                fs::remove_all(entry.path());
        c.prepare(dir.path(), file);
        std::vector<std::uint8_t> before;
        if (fs::exists(file))
            before = readBytes(file);
        entriesBefore = folderEntries(dir.path());

        std::vector<std::string> args = c.args;
        for (std::string& arg : args)
            if (arg == "FILE")
                arg = file.string();
        EXPECT_EQ(runAs(c.options, args), c.expected);
        if (fs::exists(file)) {
            EXPECT_EQ(readBytes(file), before);
        }
        EXPECT_EQ(folderEntries(dir.path()), entriesBefore);
    }
}

TEST_F(CliFault, ShortReadOfTheSource)
{
    const char* attribute = "/sys/kernel/mm/transparent_hugepage/enabled";
    std::error_code ec;
    if (!fs::is_regular_file(attribute, ec) || fs::file_size(attribute, ec) != 4096)
        GTEST_SKIP() << "no file on this machine reads shorter than its length";
    EXPECT_EQ(summary(runCli({"show", attribute})), failedWith(attribute, {"Cannot read bios file!", "Load bios file failed!"}));
}

TEST_F(CliFault, LinksAndOddNamesAreFollowedAndKept)
{
    const fs::path folder = dir / "Mein \xC3\x96rdner";
    fs::create_directory(folder);
    const fs::path odd = folder / "BIOS \xC3\xB1 680 (copy).rom";
    const fs::path link = dir / "link.rom";
    fs::create_symlink(file, link);

    CliRun run = runCli({"set", link.string(), "--output", odd.string(), "gpu-clock=1100"});
    EXPECT_EQ(run.status, 0) << run.err;
    run = runCli({"set", link.string(), "gpu-clock=1200"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(link));

    MessageRecorder recorder;
    BiosInfo fromOdd, fromFile;
    ASSERT_TRUE(loadRomFile(odd, fromOdd));
    ASSERT_TRUE(loadRomFile(file, fromFile));
    EXPECT_EQ(fromOdd.gpuClock.value, 1100.0f);
    EXPECT_EQ(fromFile.gpuClock.value, 1200.0f);
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"card.rom", "link.rom", "Mein \xC3\x96rdner"}));
}

}  // namespace
}  // namespace veltra::testing
