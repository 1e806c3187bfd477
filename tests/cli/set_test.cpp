#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include <nlohmann/json.hpp>

#include "cli_process.h"
#include "tests/support/image_builder.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

const BoardModel boards[] = {BoardModel::Gtx660Ti, BoardModel::Gtx670, BoardModel::Gtx680};

// A field's bytes in the file: where, how wide, which number.
struct Field {
    std::uint32_t offset;
    std::uint32_t width;
    std::uint32_t value;
};
using Fields = std::vector<Field>;

std::uint32_t readField(const std::vector<std::uint8_t>& bytes, const Field& field)
{
    if (field.width == 1) return bytes.at(field.offset);
    return field.width == 2 ? getU16(bytes, field.offset) : getU32(bytes, field.offset);
}

bool contains(const std::string& out, const std::string& line)
{
    const auto all = lines(out);
    return std::find(all.begin(), all.end(), line) != all.end();
}

// Sets one value and checks that exactly its bytes and the checksum changed.
// A value the file cannot hold exactly is named on standard error with what
// was stored.
void expectSetChangesOnly(BoardModel board, const std::string& pair, const std::string& shown,
                          const Fields& fields)
{
    SCOPED_TRACE(pair);
    TempDir dir;
    ImageSpec spec;
    spec.board = board;
    const std::vector<std::uint8_t> before = buildImage(spec);
    const auto file = dir.write("card.rom", before);

    const CliRun run = runCli({"set", file.string(), pair});
    EXPECT_EQ(run.status, 0);
    const std::string requested = pair.substr(pair.find('=') + 1);
    const std::string stored = shown.substr(shown.find(" = ") + 3);
    const std::string name = pair.substr(0, pair.find('='));
    EXPECT_EQ(run.err, std::stod(requested) == std::stod(stored)
                           ? ""
                           : "veltra-cli: " + file.string() + ": " + name + " = " + requested + " is stored as " +
                                 stored + "\n");
    EXPECT_EQ(lines(run.out).at(0), "file = " + file.string());
    EXPECT_TRUE(contains(run.out, shown)) << run.out;

    const std::vector<std::uint8_t> after = readBytes(file);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(checksumValid(after, board));
    std::set<std::uint32_t> allowed = {locationsOf(board).checksumReadOffset};
    for (const Field& field : fields) {
        EXPECT_EQ(readField(after, field), field.value) << "at " << field.offset;
        for (std::uint32_t i = 0; i < field.width; ++i) allowed.insert(field.offset + i);
    }
    for (std::uint32_t i = 0; i < after.size(); ++i)
        EXPECT_TRUE(after[i] == before[i] || allowed.count(i)) << "byte " << i << " changed";
}

TEST(Set, WritesEachNamedValueInTheEncodersFormAndNothingElse)
{
    using At = const BoardOffsets&;
    const struct {
        const char* pair;
        const char* shown;
        std::function<Fields(At)> fields;
    } cases[] = {
        // Clocks truncate to the next lower half MHz.
        {"gpu-clock=1058.75", "gpu-clock = 1058.50", [](At at) { return Fields{{at.gpuClock, 2, 2117}}; }},
        {"boost-clock=1100.3", "boost-clock = 1100.00", [](At at) { return Fields{{at.boostClock, 2, 2200}}; }},
        {"mem-clock=1600.25", "mem-clock = 1600.00",
         [](At at) { return Fields{{at.memClock, 2, 19584}, {at.memClockSecond, 2, 19584}}; }},
        {"power-default=180", "power-default = 180", [](At at) { return Fields{{at.powerDefault, 4, 180000}}; }},
        {"power-max=500", "power-max = 500", [](At at) { return Fields{{at.powerMax, 4, 500000}}; }},
        {"power-limit-lo=100", "power-limit-lo = 100", [](At at) { return Fields{{at.powerLimitLo, 4, 100000}}; }},
        {"power-limit-hi=300", "power-limit-hi = 300", [](At at) { return Fields{{at.powerLimitHi, 4, 300000}}; }},
        {"fan-min=10", "fan-min = 10", [](At at) { return Fields{{at.fanMin, 1, 10}}; }},
        {"fan-max=100", "fan-max = 100", [](At at) { return Fields{{at.fanMax, 1, 100}}; }},
        {"voltage=1200", "voltage = 1200", [](At at) {
             Fields fields;
             for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
                 fields.push_back({at.voltage[slot], 4, slot < 4 ? 1200000u : 12000000u});
             return fields;
         }},
    };
    for (BoardModel board : boards)
        for (const auto& c : cases) expectSetChangesOnly(board, c.pair, c.shown, c.fields(locationsOf(board)));
}

TEST(Set, WritesEachBoostEntryAtItsOwnPlace)
{
    const BoardOffsets& at = locationsOf(BoardModel::Gtx670);
    for (std::uint32_t k = 0; k < boostEntryCount; ++k) {
        char pair[32], shown[32];
        std::snprintf(pair, sizeof pair, "boost-%02u=%u.75", k + 1, 1000 + k);
        std::snprintf(shown, sizeof shown, "boost-%02u = %u.50", k + 1, 1000 + k);
        expectSetChangesOnly(BoardModel::Gtx670, pair, shown,
                             {{at.boostTableFirst + 5 * k, 2, 2 * (1000 + k) + 1}});
    }
}

// A value the image has no place for cannot be set: the file is named, the
// value too, and nothing is written, even for the values given before it.
TEST(Set, RefusesAValueTheImageDoesNotHaveAndWritesNothing)
{
    const auto family = [](BoardFamily f) { return buildStructuredImage(familySpec(f)).bytes; };
    const struct {
        const char* what;
        std::vector<std::uint8_t> image;
        std::vector<std::string> pairs;
        const char* name;
    } cases[] = {
        {"a boost entry past the three boards' ladder", buildImage({}), {"boost-46=1000"}, "boost-46"},
        {"past a long ladder", family(BoardFamily::Gtx770), {"boost-52=1000", "boost-53=1000"}, "boost-53"},
        {"power defaults no entry names", family(BoardFamily::Gtx770), {"power-limit-hi=240", "power-max=200"},
         "power-max"},
        {"a voltage that is a formula", family(BoardFamily::Gtx780), {"voltage=1100"}, "voltage"},
        {"no clock entries", family(BoardFamily::Gtx650Ti), {"gpu-clock=1000"}, "gpu-clock"},
        {"no ladder", family(BoardFamily::Gt640), {"mem-clock=900", "boost-01=1000"}, "boost-01"},
        {"a power table without entries", family(BoardFamily::Gt640), {"power-limit-lo=50"}, "power-limit-lo"},
        {"one clock", family(BoardFamily::Gt710), {"boost-clock=1000"}, "boost-clock"},
        {"no fan entry", family(BoardFamily::Mobile), {"fan-max=90", "fan-min=20"}, "fan-max"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto file = dir.write("card.rom", c.image).string();
        const std::string message = std::string("Cannot set ") + c.name + ": the bios file has no such value!";
        for (bool json : {false, true}) {
            std::vector<std::string> args = {"set", file, "--output", (dir / "out.rom").string()};
            if (json) args.push_back("--json");
            args.insert(args.end(), c.pairs.begin(), c.pairs.end());
            const CliRun run = runCli(args);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err, "veltra-cli: " + file + ": " + message + "\n");
            if (json)
                EXPECT_EQ(nlohmann::ordered_json::parse(run.out)["errors"],
                          (nlohmann::ordered_json::array({{{"file", file}, {"message", message}}})));
            else
                EXPECT_EQ(run.out, "");
            EXPECT_FALSE(std::filesystem::exists(dir / "out.rom"));
        }
        std::vector<std::string> inPlace = {"set", file};
        inPlace.insert(inPlace.end(), c.pairs.begin(), c.pairs.end());
        EXPECT_EQ(runCli(inPlace).status, 1);
        EXPECT_EQ(readBytes(file), c.image);
    }
}

TEST(Set, StopsAtTheFirstBrokenRuleWithItsMessageAndWritesNothing)
{
    const struct {
        std::vector<std::string> pairs;
        const char* message;
    } cases[] = {
        {{"gpu-clock=299.99"}, "300Mhz <= Default Frequency <= 2000Mhz"},
        {{"gpu-clock=-1", "voltage=0"}, "300Mhz <= Default Frequency <= 2000Mhz"},
        {{"boost-clock=2000.01"}, "300Mhz <= Boost Frequency <= 2000Mhz"},
        {{"mem-clock=999.99"}, "1000Mhz <= Memory Frequency <= 2000Mhz"},
        {{"boost-18=250", "fan-min=0"}, "300Mhz <= Boost Frequency <= 2000Mhz"},
        {{"power-default=600", "power-max=500"}, "Default Power <= Max Power"},
        {{"power-limit-lo=200", "power-limit-hi=150"}, "Power Limit Lo <= Power Limit Hi"},
        {{"power-max=501"}, "Power <= 500W"},
        {{"fan-min=60", "fan-max=50"}, "Minimum Fan Speed <= Max Fan Speed"},
        {{"fan-min=5"}, "10% <= FanSpeed <= 100%"},
        {{"fan-max=356"}, "10% <= FanSpeed <= 100%"},
        {{"voltage=799"}, "800mV <= Max Voltage <= 1500mV"},
        {{"voltage=1501"}, "800mV <= Max Voltage <= 1500mV"},
        {{"voltage=4294968096"}, "800mV <= Max Voltage <= 1500mV"},
    };
    TempDir dir;
    const auto file = dir.write("card.rom", buildImage({}));
    const auto before = readBytes(file);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pairs[0]);
        for (bool toOutput : {false, true}) {
            std::vector<std::string> args = {"set", file.string()};
            if (toOutput) args.insert(args.end(), {"--output", (dir / "out.rom").string()});
            args.insert(args.end(), c.pairs.begin(), c.pairs.end());
            const CliRun run = runCli(args);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, "veltra-cli: " + file.string() + ": " + c.message + "\n");
            EXPECT_EQ(readBytes(file), before);
            EXPECT_FALSE(std::filesystem::exists(dir / "out.rom"));
        }
    }
}

TEST(Set, RefusesToSaveAStoredValueThatBreaksARuleUntilItIsCorrected)
{
    TempDir dir;
    ImageSpec spec;
    spec.fanMin = 5;
    const auto file = dir.write("card.rom", buildImage(spec));
    const auto before = readBytes(file);

    const CliRun refused = runCli({"set", file.string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "veltra-cli: " + file.string() + ": 10% <= FanSpeed <= 100%\n");
    EXPECT_EQ(readBytes(file), before);

    const CliRun corrected = runCli({"set", file.string(), "fan-min=10"});
    EXPECT_EQ(corrected.status, 0);
    EXPECT_TRUE(contains(corrected.out, "fan-min = 10"));
}

// Names in any script reach the file system as typed, and come back in the
// output as typed (a Windows program that read its arguments in the code
// page would garble them).
TEST(Set, WithOutputLeavesTheSourceUntouched)
{
    const struct {
        const char* source;
        const char* output;
    } names[] = {
        {"card.rom", "edited.rom"},
        {"\xd0\xba\xd0\xb0\xd1\x80\xd1\x82\xd0\xb0 \xc3\xbc.rom", "\xe7\xb7\xa8\xe9\x9b\x86 \xf0\x9f\x94\xa5.rom"},
    };
    for (const auto& name : names) {
        SCOPED_TRACE(name.output);
        TempDir dir;
        const auto file = dir.path() / fromUtf8(name.source);
        writeBytes(file, buildImage({}));
        const auto before = readBytes(file);
        const auto out = dir.path() / fromUtf8(name.output);

        const CliRun run = runCli({"set", utf8(file), "-o", utf8(out), "gpu-clock=1100"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(lines(run.out).at(0), "file = " + utf8(out));
        EXPECT_EQ(readBytes(file), before);
        const auto edited = readBytes(out);
        EXPECT_EQ(getU16(edited, locationsOf(BoardModel::Gtx680).gpuClock), 2200);
        EXPECT_EQ(runCli({"show", utf8(out)}).out, run.out);
        EXPECT_EQ(folderEntries(dir.path()).size(), 2u);
    }
}

TEST(Set, WithoutPairsResavesInTheEncodersForm)
{
    TempDir dir;
    ImageSpec spec;
    spec.board = BoardModel::Gtx670;
    spec.correctChecksum = false;
    spec.powerMaxMilliwatts = 225999;
    spec.voltageDwords[3] = 1175999;
    spec.memClockSecondWord = 1234;
    const auto file = dir.write("card.rom", buildImage(spec));
    const auto before = readBytes(file);

    const CliRun run = runCli({"set", file.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const auto after = readBytes(file);
    const BoardOffsets& at = locationsOf(spec.board);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(checksumValid(after, spec.board));
    EXPECT_EQ(getU32(after, at.powerMax), 225000u);
    EXPECT_EQ(getU32(after, at.voltage[3]), 1175000u);
    EXPECT_EQ(getU16(after, at.memClockSecond), getU16(before, at.memClock));
    EXPECT_EQ(getU16(after, at.gpuClock), getU16(before, at.gpuClock));
    EXPECT_EQ(getU16(after, at.boostTableFirst + 5 * 44), getU16(before, at.boostTableFirst + 5 * 44));
}

// show's value lines, given back to set on an image with other values,
// rebuild the saved image byte for byte.
TEST(Set, TakesBackTheValueLinesOfShow)
{
    TempDir dir;
    ImageSpec original;
    original.gpuClockWord = 2117;
    original.powerLimitLoMilliwatts = 150500;
    const auto saved = dir / "saved.rom";
    ASSERT_EQ(runCli({"set", dir.write("a.rom", buildImage(original)).string(), "-o", saved.string()}).status, 0);

    ImageSpec other;
    other.gpuClockWord = 2400;
    other.memClockWord = 20000;
    other.boostTableWords.fill(2500);
    other.powerDefaultMilliwatts = 100000;
    other.fanMin = 50;
    other.voltageDwords = ImageSpec::voltageDwordsFor(1000);
    const auto rebuilt = dir / "rebuilt.rom";
    std::vector<std::string> args = {"set", dir.write("b.rom", buildImage(other)).string(), "-o", rebuilt.string()};
    const auto shown = lines(runCli({"show", saved.string()}).out);
    args.insert(args.end(), shown.begin() + 9, shown.end());  // after file and identity

    const CliRun run = runCli(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readBytes(rebuilt), readBytes(saved));
}

// --json: the saved file's record, with the values the file could not hold
// exactly.
TEST(Set, JsonGivesTheSavedFilesRecordAndWhatWasStoredInexactly)
{
    TempDir dir;
    const auto file = dir.write("card.rom", buildImage({})).string();
    const auto out = (dir / "out.rom").string();
    const CliRun run = runCli({"set", file, "-o", out, "gpu-clock=1100.74", "mem-clock=1600", "fan-min=35", "--json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "veltra-cli: " + out + ": gpu-clock = 1100.74 is stored as 1100.50\n");
    const auto record = nlohmann::ordered_json::parse(run.out);
    EXPECT_EQ(record["command"], "set");
    EXPECT_EQ(record["file"], out);
    EXPECT_EQ(record["source"], file);
    EXPECT_EQ(record["ok"], true);
    EXPECT_EQ(record["gpu-clock"], 1100.5);
    EXPECT_EQ(record["fan-min"], 35);
    EXPECT_EQ(record["inexact"],
              (nlohmann::ordered_json::array({{{"name", "gpu-clock"}, {"requested", 1100.74}, {"stored", 1100.5}}})));

    const CliRun refused = runCli({"set", file, "-o", out, "fan-min=5", "--json"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(nlohmann::ordered_json::parse(refused.out),
              (nlohmann::ordered_json{{"format", 1}, {"command", "set"}, {"file", out}, {"ok", false},
                                      {"errors", {{{"file", file}, {"message", "10% <= FanSpeed <= 100%"}}}},
                                      {"source", file}}));
}

TEST(Set, ASaveThatFailsLeavesTheTargetAsItWas)
{
    TempDir dir;
    const auto file = dir.write("card.rom", buildImage({}));
    const auto before = readBytes(file);
    std::filesystem::create_directory(dir / "folder");
    for (const auto& target : {dir / "no-such-folder" / "x.rom", dir / "folder"}) {
        const CliRun run = runCli({"set", file.string(), "--output", target.string(), "gpu-clock=1100"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "veltra-cli: " + target.string() + ": Cannot save bios file!\n");
        EXPECT_EQ(readBytes(file), before);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder"));
}

TEST(Set, ALoadFailureWritesNothing)
{
    TempDir dir;
    ImageSpec spec;
    spec.deviceId = 0x1400;
    const auto file = dir.write("card.rom", buildImage(spec));
    const auto before = readBytes(file);
    const CliRun run = runCli({"set", file.string(), "-o", (dir / "out.rom").string(), "fan-min=20"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    const std::string prefix = "veltra-cli: " + file.string() + ": ";
    EXPECT_EQ(run.err, prefix + "Unknow model!\n" + prefix + "Load bios file failed!\n");
    EXPECT_EQ(readBytes(file), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.rom"));
}

}  // namespace
}  // namespace veltra::testing
