// The same faults and hostile values, met through veltra-cli as a user runs
// it: one process per command, its status, its streams and the files it
// leaves on disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>

#include <nlohmann/json.hpp>

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

// The symbolic links in a folder and what each names.
std::map<std::string, fs::path> linksIn(const fs::path& folder)
{
    std::map<std::string, fs::path> links;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_symlink())
            links[entry.path().filename().string()] = fs::read_symlink(entry.path());
    return links;
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

    // The table of file faults, run by the two FileFaults tests.
    void checkFileFaults(bool ordinaryUser);

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

// The rows of the table that run veltra-cli as uid 65534 (`ordinaryUser`),
// or the others.
void CliFault::checkFileFaults(bool ordinaryUser)
{
    const ChildOptions asIs{.asNobody = false, .fileSizeLimit = std::nullopt};
    const ChildOptions nobody = asNobody();
    const ChildOptions fullDisk = withFileSizeLimit(original.size() / 2);
    const std::string loadFailed = "Load bios file failed!";
    using Prepare = std::function<void(const fs::path& folder, const fs::path& image)>;
    const Prepare noChange = [](const fs::path&, const fs::path&) {};
    struct Case {
        const char* name;
        Prepare prepare;
        ChildOptions options;
        std::vector<std::string> args;  // FILE stands for the image, DIR/ for its folder
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
        {"output a link to a file that does not exist",
         [](const fs::path& folder, const fs::path&) { fs::create_symlink(folder / "gone.rom", folder / "out.rom"); },
         asIs, {"set", "FILE", "--output", "DIR/out.rom", "gpu-clock=1100"},
         failedWith(dir / "out.rom", {"Cannot save bios file!"})},
        {"source unreadable", [](const fs::path&, const fs::path& image) { ::chmod(image.c_str(), 0600); }, nobody,
         {"show", "FILE"}, failedWith(file, {"Cannot open bios file!", loadFailed})},
        {"source removed",
         [](const fs::path& folder, const fs::path& image) { fs::rename(image, folder / "moved.rom"); }, asIs,
         setFan, failedWith(file, {"Cannot open bios file!", loadFailed})},
        {"source truncated to nothing", [](const fs::path&, const fs::path& image) { fs::resize_file(image, 0); },
         asIs, setFan, failedWith(file, {"Unknow model!", loadFailed})},
        {"source past the capacity",
         [](const fs::path&, const fs::path& image) { fs::resize_file(image, RomImage::capacity + 1); }, asIs,
         setFan, failedWith(file, {"Bios file is too large!", loadFailed})},
        {"source is a GTX 660",
         [](const fs::path&, const fs::path& image) {
             ImageSpec spec;
             spec.deviceId = 0x11C0;
             writeBytes(image, buildImage(spec));
         },
         asIs, setFan, failedWith(file, {"Geforce GTX 660 is not supported!", loadFailed})},
    };
    for (const Case& c : cases) {
        if (c.options.asNobody != ordinaryUser)
            continue;
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
        const auto linksBefore = linksIn(dir.path());

        std::vector<std::string> args = c.args;
        for (std::string& arg : args) {
            if (arg == "FILE")
                arg = file.string();
            else if (arg.starts_with("DIR/"))
                arg = (dir / arg.substr(4)).string();
        }
        EXPECT_EQ(runAs(c.options, args), c.expected);
        if (fs::exists(file)) {
            EXPECT_EQ(readBytes(file), before);
        }
        EXPECT_EQ(folderEntries(dir.path()), entriesBefore);
        EXPECT_EQ(linksIn(dir.path()), linksBefore);
    }
}

// The disk-full case runs veltra-cli under a file-size limit with the
// signal that limit sends at its default action: the program must ignore it
// itself to report the failed write.
TEST_F(CliFault, FileFaultsKeepTheFileAndSayWhy)
{
    checkFileFaults(false);
}

TEST_F(CliFault, FileFaultsOfAnOrdinaryUserKeepTheFile)
{
    if (!runningAsRoot())
        GTEST_SKIP() << needsRoot;
    checkFileFaults(true);
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

// The README's own example, typed in the image's folder: bare relative names
// for a new output file, then a change in place.
TEST_F(CliFault, RelativeNamesMeanWhatTheShellMeans)
{
    const ChildOutcome child = runInChild({}, [&] {
        if (::chdir(dir.path().c_str()) != 0)
            return std::string("cannot chdir");
        const CliRun made =
            runCli({"set", "card.rom", "--output", "fast.rom", "gpu-clock=1058.5", "boost-clock=1110", "voltage=1200"});
        const CliRun changed = runCli({"set", "card.rom", "fan-min=20"});
        return std::to_string(made.status) + made.err + " " + std::to_string(changed.status) + changed.err;
    });
    EXPECT_EQ(child.report, "0 0");
    MessageRecorder quiet;
    BiosInfo fast;
    BiosInfo card;
    ASSERT_TRUE(loadRomFile(dir / "fast.rom", fast));
    ASSERT_TRUE(loadRomFile(file, card));
    EXPECT_EQ(fast.gpuClock.value, 1058.5f);
    EXPECT_EQ(fast.boostClock.value, 1110.0f);
    EXPECT_EQ(fast.voltage[0].value, 1200u);
    EXPECT_EQ(card.fanMin.value, 20);
    EXPECT_NE(card.gpuClock.value, 1058.5f);
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"card.rom", "fast.rom"}));
}

// Two `set` runs on one file at the same moment, round after round: both
// changes end up in the file, or a run fails with its message; never do both
// succeed with one change lost.
TEST_F(CliFault, TwoSetsOnOneFileAtOnceNeverLoseAChange)
{
    constexpr int rounds = 100;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        writeBytes(file, original);
        const std::vector<CliRun> runs =
            runCliTogether({{"set", file.string(), "gpu-clock=1100"}, {"set", file.string(), "fan-min=20"}});
        MessageRecorder quiet;
        BiosInfo after;
        ASSERT_TRUE(loadRomFile(file, after));
        const bool changeKept[] = {after.gpuClock.value == 1100.0f, after.fanMin.value == 20};
        for (int i : {0, 1}) {
            if (runs[i].status == 0)
                EXPECT_TRUE(changeKept[i]) << "run " << i << " succeeded, but its change is gone";
            else
                EXPECT_EQ(summary(runs[i]), failedWith("Bios file was changed by another program!\n"));
        }
        EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"card.rom"});
        if (::testing::Test::HasFailure())
            break;
    }
}

// A file that ends before some value: set refuses to change a value the
// save could not write, and show --json does not call a checksum byte past
// the end valid.
TEST_F(CliFault, AFileThatEndsEarlyIsNeitherHalfWrittenNorCalledValid)
{
    const BoardOffsets& at = locationsOf(BoardModel::Gtx680);
    const auto beyond = [&](const char* name) {
        return failedWith(file, {std::string("Cannot set ") + name + ": it lies beyond the end of the bios file!"});
    };
    const struct {
        const char* name;
        std::uint32_t length;
        std::vector<std::string> pairs;
        std::string expected;  // empty: saved
    } cases[] = {
        {"the fan maximum past the end", at.fanMax, {"fan-max=90"}, beyond("fan-max")},
        {"the last power value past the end, after a value inside", at.powerLimitHi,
         {"gpu-clock=1100", "power-limit-hi=200"}, beyond("power-limit-hi")},
        {"the file ends inside the last power value", at.powerLimitHi + 2, {"power-limit-hi=200"},
         beyond("power-limit-hi")},
        {"only the checksum byte past the end", at.checksumReadOffset, {"gpu-clock=1100"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes = original;
        bytes.resize(c.length);
        writeBytes(file, bytes);
        std::vector<std::string> args = {"set", file.string()};
        args.insert(args.end(), c.pairs.begin(), c.pairs.end());
        const CliRun run = runCli(args);
        if (c.expected.empty()) {
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(fs::file_size(file), c.length);
        } else {
            EXPECT_EQ(summary(run), c.expected);
            EXPECT_EQ(readBytes(file), bytes);
        }
        EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"card.rom"});

        const auto json = nlohmann::json::parse(runCli({"show", "--json", file.string()}).out);
        EXPECT_TRUE(json["checksum"]["right"].is_null());
    }
    writeBytes(file, original);
    const auto whole = nlohmann::json::parse(runCli({"show", "--json", file.string()}).out);
    EXPECT_EQ(whole["checksum"]["right"], true);
}

// Another program changes the file between the rename and the read-back: the
// value read back is not the one asked for, and set says which.
TEST_F(CliFault, AValueThatDoesNotReadBackAsWrittenFailsTheRun)
{
    const std::string asanOptions = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
    const std::pair<const char*, std::string> environment[] = {
        {"LD_PRELOAD", VELTRA_TAMPER_PATH},
        {"VELTRA_TAMPER_OFFSET", std::to_string(locationsOf(BoardModel::Gtx680).gpuClock)},
        // Under AddressSanitizer its runtime would insist on coming first.
        {"ASAN_OPTIONS", asanOptions + (asanOptions.empty() ? "" : ":") + "verify_asan_link_order=0"},
    };
    for (const auto& [name, value] : environment)
        ::setenv(name, value.c_str(), 1);
    const CliRun run = runCli({"set", file.string(), "fan-min=20", "gpu-clock=1100"});
    ::unsetenv("LD_PRELOAD");
    ::unsetenv("VELTRA_TAMPER_OFFSET");
    ::setenv("ASAN_OPTIONS", asanOptions.c_str(), 1);
    EXPECT_EQ(summary(run), failedWith(file, {"Bios file read back differs in gpu-clock!"}));
}

}  // namespace
}  // namespace veltra::testing
