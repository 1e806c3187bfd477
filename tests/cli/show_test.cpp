#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <tuple>
#include <utility>

#include <nlohmann/json.hpp>

#include "cli_process.h"
#include "kepler_image.h"
#include "tests/support/image_builder.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

using Json = nlohmann::ordered_json;

struct BoardCase {
    BoardModel board;
    const char* name;
    std::uint16_t deviceId;
    bool correctChecksum;
};

const BoardCase boardCases[] = {
    {BoardModel::Gtx660Ti, "Geforce GTX 660Ti", 0x1183, true},
    {BoardModel::Gtx670, "Geforce GTX 670", 0x1189, false},
    {BoardModel::Gtx680, "Geforce GTX 680", 0x1180, true},
};

// Raw values the decoder has to turn into the window's forms.
ImageSpec unusualSpec(const BoardCase& c)
{
    ImageSpec spec;
    spec.board = c.board;
    spec.gpuClockWord = 2117;               // 1058.50
    spec.memClockWord = 12288;              // below the bias: -2048.00
    spec.boostTableWords[44] = 1;           // 0.50
    spec.powerDefaultMilliwatts = 170500;   // 170
    spec.fanMax = 255;
    spec.voltageDwords[3] = 1175999;        // still 1175
    spec.correctChecksum = c.correctChecksum;
    return spec;
}

TEST(Show, PrintsIdentityAndEveryValueOfEachBoardAsTheWindowShowsThem)
{
    for (const BoardCase& c : boardCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::vector<std::uint8_t> bytes = buildImage(unusualSpec(c));
        const auto file = dir.write("card.rom", bytes);
        const std::uint8_t stored = bytes[locationsOf(c.board).checksumReadOffset];
        const std::uint8_t computed = c.correctChecksum ? stored : stored - 1;

        const CliRun run = runCli({"show", file.string()});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        const auto out = lines(run.out);
        ASSERT_EQ(out.size(), 1u + 8 + 3 + 45 + 7);
        char ids[32], checksum[32];
        std::snprintf(ids, sizeof ids, "device-id = 10DE - %.4X", c.deviceId);
        std::snprintf(checksum, sizeof checksum, "checksum = %.2X - [%.2X]", stored, computed);
        const std::vector<std::string> head = {
            "file = " + file.string(), std::string("name = ") + c.name, "board = P2002 SKU 0001 VGA BIO",
            "date = 03/22/12", "version = 80.04.09.00.01", ids, checksum, "image = none", "layout = built-in table",
            "gpu-clock = 1058.50", "boost-clock = 1058.50", "mem-clock = -2048.00",
            "boost-01 = 1006.00", "boost-02 = 1019.50"};
        EXPECT_EQ(std::vector<std::string>(out.begin(), out.begin() + head.size()), head);
        const std::vector<std::string> tail = {
            "boost-44 = 1586.50", "boost-45 = 0.50", "power-default = 170", "power-max = 225",
            "power-limit-lo = 150", "power-limit-hi = 250", "fan-min = 30", "fan-max = 255", "voltage = 1175"};
        EXPECT_EQ(std::vector<std::string>(out.end() - tail.size(), out.end()), tail);
    }
}

// One record per line, its members named as the text form names its items,
// the values as numbers.
TEST(Show, JsonHoldsOneRecordPerLineNamedAsTheTextForm)
{
    TempDir dir;
    std::vector<std::string> args = {"show", "--json"};
    for (const BoardCase& c : boardCases)
        args.push_back(dir.write(std::string(c.name) + ".rom", buildImage(unusualSpec(c))).string());

    const CliRun run = runCli(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.find('\r'), std::string::npos) << "records end in \\n alone, on every system";
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const BoardCase& c = boardCases[i];
        SCOPED_TRACE(c.name);
        const auto json = Json::parse(out[i]);
        const auto text = lines(runCli({"show", args[2 + i]}).out);
        std::vector<std::string> keys, textNames = {"format", "command", "ok", "errors"};
        for (const auto& item : json.items()) keys.push_back(item.key());
        for (const std::string& line : text) textNames.push_back(line.substr(0, line.find(" = ")));
        std::sort(keys.begin(), keys.end());
        std::sort(textNames.begin(), textNames.end());
        EXPECT_EQ(keys, textNames);
        EXPECT_EQ(json["format"], 1);
        EXPECT_EQ(json["command"], "show");
        EXPECT_EQ(json["file"], args[2 + i]);
        EXPECT_EQ(json["ok"], true);
        EXPECT_EQ(json["errors"], Json::array());
        EXPECT_EQ(json["name"], c.name);
        EXPECT_EQ(json["board"], "P2002 SKU 0001 VGA BIO");
        EXPECT_EQ(json["device-id"], (Json{{"vendor", 0x10DE}, {"device", c.deviceId}}));
        EXPECT_EQ(json["checksum"]["right"], c.correctChecksum);
        EXPECT_EQ(json["checksum"]["stored"].get<int>() - json["checksum"]["computed"].get<int>(),
                  c.correctChecksum ? 0 : 1);
        EXPECT_TRUE(json["image"].is_null());
        EXPECT_EQ(json["layout"], "built-in table");
        EXPECT_EQ(json["gpu-clock"], 1058.5);
        EXPECT_EQ(json["mem-clock"], -2048.0);
        EXPECT_EQ(json["boost-02"], 1019.5);
        EXPECT_EQ(json["boost-45"], 0.5);
        EXPECT_EQ(json["power-default"], 170);
        EXPECT_EQ(json["fan-max"], 255);
        EXPECT_EQ(json["voltage"], 1175);
    }
}

// A file too short to hold its checksum byte: nothing can be said of it.
TEST(Show, AChecksumByteBeyondTheFileIsNotCheckable)
{
    TempDir dir;
    ImageSpec spec;
    spec.length = 40000;
    const auto file = dir.write("short.rom", buildImage(spec)).string();
    EXPECT_TRUE(Json::parse(runCli({"show", "--json", file}).out)["checksum"]["right"].is_null());
    const CliRun check = runCli({"check", file});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.out, file + ": loads, Geforce GTX 680, built-in table, checksum not checkable\n");
}

TEST(Show, GoesOnAfterAFileThatDoesNotLoadAndFailsAtTheEnd)
{
    TempDir dir;
    const auto good = dir.write("good.rom", buildImage({})).string();
    const auto missing = (dir / "missing.rom").string();
    for (bool json : {false, true}) {
        std::vector<std::string> args = {"show", good, missing, good};
        if (json) args.push_back("--json");
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 1);
        const std::string prefix = "veltra-cli: " + missing + ": ";
        EXPECT_EQ(run.err, prefix + "Cannot open bios file!\n" + prefix + "Load bios file failed!\n");
        const auto out = lines(run.out);
        if (json) {
            // The file that failed has its record too, with its messages.
            ASSERT_EQ(out.size(), 3u);
            EXPECT_EQ(out[0], out[2]);
            EXPECT_EQ(Json::parse(out[1]),
                      (Json{{"format", 1}, {"command", "show"}, {"file", missing}, {"ok", false},
                            {"errors", {{{"file", missing}, {"message", "Cannot open bios file!"}},
                                        {{"file", missing}, {"message", "Load bios file failed!"}}}}}));
        } else {
            ASSERT_EQ(out.size(), 2u * 64 + 1);
            EXPECT_EQ(out[64], "");
            EXPECT_EQ(out[65], "file = " + good);
        }
    }
}

TEST(Show, ReportsEachKindOfLoadFailureWordForWord)
{
    ImageSpec unknownDevice, otherVendor, gtx660, voltage, shortFile;
    unknownDevice.deviceId = 0x1400;
    otherVendor.vendorId = 0x10DF;
    otherVendor.deviceId = 0x1183;
    gtx660.deviceId = 0x11C0;
    voltage.voltageDwords[5] = 11760000;
    shortFile.length = 1400;  // the ids lie beyond the end and read as 0
    StructuredImage noBoostTable = buildStructuredImage({});
    putU32(noBoostTable.bytes, noBoostTable.pData + 0x34, 0);
    const struct {
        const char* what;
        std::optional<std::vector<std::uint8_t>> bytes;
        const char* err;
    } cases[] = {
        {"missing file", std::nullopt, "Cannot open bios file!\n"},
        {"unknown device", buildImage(unknownDevice), "Unknow model!\n"},
        {"other vendor", buildImage(otherVendor), "Unknow model!\n"},
        {"short file", buildImage(shortFile), "Unknow model!\n"},
        {"board without locations", buildImage(gtx660), "Geforce GTX 660 is not supported!\n"},
        {"voltage slots disagree", buildImage(voltage), "Read voltage error!\n"},
        {"a table the image does not have", noBoostTable.bytes, "Cannot find the boost table!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto file = c.bytes ? dir.write("x.rom", *c.bytes) : dir / "x.rom";
        for (const char* form : {"", "--json"}) {
            std::vector<std::string> args = {"show", file.string()};
            if (*form) args.push_back(form);
            const CliRun run = runCli(args);
            EXPECT_EQ(run.status, 1);
            if (*form == '\0') EXPECT_EQ(run.out, "");
            else EXPECT_EQ(Json::parse(run.out)["ok"], false);
            const std::string prefix = "veltra-cli: " + file.string() + ": ";
            EXPECT_EQ(run.err, prefix + c.err + prefix + "Load bios file failed!\n");
        }
    }
    // A FILE that starts with a slash names a file on Windows too, not an option.
    const std::string rooted = "veltra-cli: /no/such/x.rom: ";
    EXPECT_EQ(runCli({"show", "/no/such/x.rom"}).err, rooted + "Cannot open bios file!\n" + rooted + "Load bios file failed!\n");
}

// Image texts and file names are arbitrary bytes: they must neither break the
// line form nor reach the terminal as control sequences, and JSON must stay valid.
TEST(Show, KeepsHostileTextsOnTheirLineAndJsonValid)
{
    TempDir dir;
    ImageSpec spec;
    spec.boardText = "P2002\nfan-min=9\x1b[2J\xe9";  // 20 of its 22 bytes
#ifdef _WIN32
    // Windows names hold no control characters, and no bytes that are not
    // UTF-8: only the board's text is hostile there.
    const std::string name = "bad.rom", shownName = name, jsonName = name;
#else
    const std::string name = "bad\n\xff.rom", shownName = "bad\\x0A\xff.rom", jsonName = "bad\n\xef\xbf\xbd.rom";
#endif
    const std::string folder = dir.path().string() + static_cast<char>(std::filesystem::path::preferred_separator);
    const auto file = dir.write(name, buildImage(spec)).string();

    const CliRun text = runCli({"show", file});
    EXPECT_EQ(text.status, 0);
    const auto out = lines(text.out);
    EXPECT_EQ(out.at(0), "file = " + folder + shownName);
    EXPECT_EQ(out.at(2), "board = P2002\\x0Afan-min=9\\x1B[2J\xc3\xa9");

    const CliRun json = runCli({"show", "--json", file});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.err, "");
    const auto object = nlohmann::json::parse(json.out);
    EXPECT_EQ(object["board"], std::string("P2002\nfan-min=9\x1b[2J\xc3\xa9"));
    EXPECT_EQ(object["file"], folder + jsonName);
}

// Where the image starts and where its layout came from, for each form of file.
TEST(Show, SaysWhereTheImageStartsAndWhereItsLayoutCameFrom)
{
    StructuredSpec atZero;
    atZero.uefiLength = 0x2000;
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* image;
        Json imageJson;
        const char* layout;
    } cases[] = {
        {"no option-ROM signature", buildImage({}), "none", nullptr, "built-in table"},
        {"raw dump with a UEFI image", buildStructuredImage(atZero).bytes, "0x0000", 0, "image tables"},
        {"0x600 header", buildStructuredImage([] {
             StructuredSpec spec;
             spec.imageOffset = 0x600;
             return spec;
         }()).bytes, "0x0600", 0x600, "image tables"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto file = dir.write("card.rom", c.bytes).string();
        const auto text = lines(runCli({"show", file}).out);
        ASSERT_GE(text.size(), 9u);
        EXPECT_EQ(text[7], std::string("image = ") + c.image);
        EXPECT_EQ(text[8], std::string("layout = ") + c.layout);
        const auto json = Json::parse(runCli({"show", "--json", file}).out);
        EXPECT_EQ(json["image"], c.imageJson);
        EXPECT_EQ(json["layout"], c.layout);
    }
}

// The map a user checks before flashing: every item's offsets, in text and in
// JSON, as the file's own tables place them.
TEST(Show, OffsetsListWhereEveryItemLiesInTheFile)
{
    StructuredSpec spec;
    spec.values.board = BoardModel::Gtx680;
    spec.imageOffset = 0x600;
    spec.uefiLength = 0x2000;
    spec.powerTableAfterUefi = true;
    const StructuredImage image = buildStructuredImage(spec);
    const StructuredFields& f = image.fields;
    TempDir dir;
    const auto file = dir.write("card.rom", image.bytes).string();

    const auto hex = [](std::uint32_t offset) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%.4X", offset);
        return std::string(text);
    };
    std::vector<std::string> expected = {
        "file = " + file, "name = Geforce GTX 680", "image = 0x0600", "layout = image tables",
        "board = " + hex(f.boardText), "date = " + hex(f.dateText), "version = " + hex(f.versionText),
        "device-id = " + hex(f.vendorId) + " " + hex(f.deviceId), "checksum = " + hex(f.at.checksumReadOffset),
        "checksum-range = " + hex(f.checksumStart) + " - " + hex(f.at.checksumReadOffset - 1),
        "gpu-clock = " + hex(f.at.gpuClock) + " (clock table, entry 1)",
        "boost-clock = " + hex(f.at.boostClock) + " (clock table, entry 0)",
        "mem-clock = " + hex(f.at.memClock) + " " + hex(f.at.memClockSecond) + " (memory clock table, entries 2 and 3)"};
    for (std::size_t k = 0; k < 45; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "boost-%02zu", k + 1);
        expected.push_back(std::string(name) + " = " + hex(f.boostTable[k]) + " (boost table, entry " +
                           std::to_string(k + 2) + ")");
    }
    std::string voltage = "voltage =";
    for (std::uint32_t slot : f.at.voltage) voltage += " " + hex(slot);
    expected.insert(expected.end(), {"power-default = " + hex(f.at.powerDefault) + " (power table, entry 8)",
                                     "power-max = " + hex(f.at.powerMax) + " (power table, entry 8)",
                                     "power-limit-lo = " + hex(f.at.powerLimitLo) + " (power table, entry 7)",
                                     "power-limit-hi = " + hex(f.at.powerLimitHi) + " (power table, entry 7)",
                                     "fan-min = " + hex(f.at.fanMin) + " (fan table, entry 9)",
                                     "fan-max = " + hex(f.at.fanMax) + " (fan table, entry 9)",
                                     voltage + " (voltage table, entries 0 and 1)"});
    const CliRun text = runCli({"show", "--offsets", file});
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(lines(text.out), expected);

    const CliRun json = runCli({"show", "--offsets", "--json", file});
    EXPECT_EQ(json.status, 0);
    Json voltageSlots = Json::array();
    for (std::uint32_t slot : f.at.voltage) voltageSlots.push_back(slot);
    Json offsets = {{"board", f.boardText}, {"date", f.dateText}, {"version", f.versionText},
                    {"device-id", {f.vendorId, f.deviceId}}, {"checksum", f.at.checksumReadOffset},
                    {"checksum-range", {f.checksumStart, f.at.checksumReadOffset - 1}},
                    {"gpu-clock", f.at.gpuClock}, {"boost-clock", f.at.boostClock},
                    {"mem-clock", {f.at.memClock, f.at.memClockSecond}}};
    for (std::size_t k = 0; k < 45; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "boost-%02zu", k + 1);
        offsets[name] = f.boostTable[k];
    }
    for (const auto& [name, offset] : {std::pair{"power-default", f.at.powerDefault}, {"power-max", f.at.powerMax},
                                       {"power-limit-lo", f.at.powerLimitLo}, {"power-limit-hi", f.at.powerLimitHi},
                                       {"fan-min", f.at.fanMin}, {"fan-max", f.at.fanMax}})
        offsets[name] = offset;
    offsets["voltage"] = voltageSlots;
    EXPECT_EQ(Json::parse(json.out),
              (Json{{"format", 1}, {"command", "show"}, {"file", file}, {"ok", true}, {"errors", Json::array()},
                    {"name", "Geforce GTX 680"}, {"image", 0x600}, {"layout", "image tables"}, {"offsets", offsets}}));
}

std::string hexOffset(std::uint32_t offset)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%.4X", offset);
    return text;
}

// Where the builder put each value an image has, by its NAME, in show's
// order: editable values, then read-only ones.
std::vector<std::pair<std::string, std::vector<std::uint32_t>>> placedValues(const StructuredImage& image,
                                                                            const std::set<std::string>& absent)
{
    const StructuredFields& f = image.fields;
    std::vector<std::pair<std::string, std::vector<std::uint32_t>>> values = {
        {"gpu-clock", {f.at.gpuClock}}, {"boost-clock", {f.at.boostClock}}, {"mem-clock", {f.at.memClock}}};
    if (f.at.memClockSecond != 0) values.back().second.push_back(f.at.memClockSecond);
    for (std::size_t k = 0; k < f.ladder.size(); ++k) values.push_back({boostName(k), {f.ladder[k]}});
    values.insert(values.end(), {{"power-default", {f.at.powerDefault}}, {"power-max", {f.at.powerMax}},
                                 {"power-limit-lo", {f.at.powerLimitLo}}, {"power-limit-hi", {f.at.powerLimitHi}},
                                 {"fan-min", {f.at.fanMin}}, {"fan-max", {f.at.fanMax}},
                                 {"voltage", {f.at.voltage.begin(), f.at.voltage.end()}}});
    std::erase_if(values, [&](const auto& value) { return absent.count(value.first) != 0; });
    for (const auto& [name, offset] : {std::pair{"boost-limit", f.boostLimit}, {"cooler-fan-min", f.coolerFanMin},
                                       {"cooler-fan-max", f.coolerFanMax}})
        if (offset != 0) values.push_back({name, {offset}});
    return values;
}

// A board that opens through its tables has only some of the values: show
// and show --offsets leave out the others (a 0 there would read as a value
// to keep), JSON gives null for each of them, boost entries only as far as
// the ladder, the read-only values only where the image has them; and the
// offsets are where the values lie, whatever the board's form.
TEST(Show, GivesExactlyTheValuesAnImageHasAndWhereTheyLie)
{
    const std::set<std::string> power = {"power-default", "power-max", "power-limit-lo", "power-limit-hi"};
    const auto spec = [](std::function<void(StructuredSpec&)> change) {
        StructuredSpec spec = otherBoardSpec();
        change(spec);
        return spec;
    };
    const auto family = [&](BoardFamily f, std::set<std::string> absent, bool noPower = false) {
        if (noPower) absent.insert(power.begin(), power.end());
        return std::tuple{familyName(f), familySpec(f), absent};
    };
    const std::tuple<const char*, StructuredSpec, std::set<std::string>> cases[] = {
        {"every value", otherBoardSpec(), {}},
        {"the longest ladder", spec([](StructuredSpec& s) {
             s.shapes = shapesOf(BoardModel::Gtx680);
             s.shapes->voltageFrequencyExtras = 66;
             s.contents.voltageFrequencyEntries.back().highest = 65;
         }), {}},
        {"read-only values", spec([](StructuredSpec& s) {
             s.shapes = shapesOf(BoardModel::Gtx680);
             s.shapes->pTokenSize = 100;
             s.boostLimitWord = 2404;
             s.coolerFan = {{20, 100}};
         }), {}},
        family(BoardFamily::Gtx770, {"power-default", "power-max", "voltage"}),
        family(BoardFamily::Gtx780, {"power-default", "power-max", "voltage"}),
        family(BoardFamily::Gtx650Ti, {"gpu-clock", "boost-clock", "voltage"}, true),
        family(BoardFamily::Gt640, {"gpu-clock", "boost-clock", "voltage"}, true),
        family(BoardFamily::Gt710, {"boost-clock", "voltage"}, true),
        family(BoardFamily::Mobile, {"boost-clock", "fan-min", "fan-max"}, true),
    };
    for (const auto& [what, structured, absent] : cases) {
        SCOPED_TRACE(what);
        const StructuredImage image = buildStructuredImage(structured);
        TempDir dir;
        const auto file = dir.write("card.rom", image.bytes).string();
        const auto placed = placedValues(image, absent);

        const CliRun text = runCli({"show", file});
        EXPECT_EQ(text.status, 0);
        EXPECT_EQ(text.err, "");
        auto shown = lines(text.out);
        shown.erase(shown.begin(), shown.begin() + 9);  // file and identity
        ASSERT_EQ(shown.size(), placed.size()) << text.out;
        for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_TRUE(shown[i].starts_with(placed[i].first + " = "));

        // The offsets' text, without the table and entry after it.
        const CliRun offsets = runCli({"show", "--offsets", file});
        EXPECT_EQ(offsets.status, 0);
        auto where = lines(offsets.out);
        where.erase(where.begin(), where.begin() + 10);  // file, name, image, layout, identity
        ASSERT_EQ(where.size(), placed.size()) << offsets.out;
        for (std::size_t i = 0; i < where.size(); ++i) {
            std::string expected = placed[i].first + " =";
            for (std::uint32_t offset : placed[i].second) expected += " " + hexOffset(offset);
            EXPECT_EQ(where[i].substr(0, where[i].find(" (")), expected);
        }

        // JSON: every value set takes, null where the image lacks it; the
        // ladder's entries and no more; the read-only values it has.
        const Json values = Json::parse(runCli({"show", "--json", file}).out);
        const Json places = Json::parse(runCli({"show", "--json", "--offsets", file}).out)["offsets"];
        for (const std::string& name : absent) {
            EXPECT_TRUE(values.at(name).is_null()) << name;
            EXPECT_TRUE(places.at(name).is_null()) << name;
        }
        for (const auto& [name, at] : placed) {
            EXPECT_TRUE(values.at(name).is_number()) << name;
            EXPECT_EQ(places.at(name), at.size() == 1 ? Json(at[0]) : Json(at)) << name;
        }
        EXPECT_FALSE(values.contains(boostName(image.fields.ladder.size())));
        EXPECT_FALSE(places.contains(boostName(image.fields.ladder.size())));
    }
}

// The read-only values as they are shown: after the values, with the table
// each lies in, for a user to compare with the ladder and the fan range.
TEST(Show, GivesTheReadOnlyValuesWithTheirTables)
{
    StructuredSpec spec = familySpec(BoardFamily::Gtx770);
    spec.boostLimitWord = 2404;
    const StructuredImage image = buildStructuredImage(spec);
    TempDir dir;
    const auto file = dir.write("card.rom", image.bytes).string();

    const auto text = lines(runCli({"show", file}).out);
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(text.end() - 4, text.end()),
              (std::vector<std::string>{"fan-max = 100", "boost-limit = 1202.00", "cooler-fan-min = 20",
                                        "cooler-fan-max = 100"}));
    const auto offsets = lines(runCli({"show", "--offsets", file}).out);
    ASSERT_GE(offsets.size(), 3u);
    const StructuredFields& f = image.fields;
    EXPECT_EQ(std::vector<std::string>(offsets.end() - 3, offsets.end()),
              (std::vector<std::string>{"boost-limit = " + hexOffset(f.boostLimit) + " (clock range table, entry 3)",
                                        "cooler-fan-min = " + hexOffset(f.coolerFanMin) + " (fan cooler table, entry 0)",
                                        "cooler-fan-max = " + hexOffset(f.coolerFanMax) + " (fan cooler table, entry 0)"}));
}

// Each file's record reaches standard output in one write: runs that share a
// pipe never tear each other's records, whichever form they print.
TEST(Show, RunsSharingAPipeNeverTearARecord)
{
#ifdef _WIN32
    GTEST_SKIP() << "runs veltra-cli through xargs and a POSIX shell";
#endif
    TempDir dir;
    std::string files;
    for (const BoardCase& c : boardCases) {
        const auto file = dir.write(std::string(c.name) + ".rom", buildImage(unusualSpec(c))).string();
        for (int i = 0; i < 40; ++i) files += file + "\n";
    }
    writeBytes(dir / "files", std::vector<std::uint8_t>(files.begin(), files.end()));
    for (const char* form : {"--json", "--offsets"}) {
        SCOPED_TRACE(form);
        const auto out = dir / "out";
        const std::string command = "xargs -d '\\n' -P 8 -n 6 '" + std::string(VELTRA_CLI_PATH) + "' show " + form + " < '" +
                                    (dir / "files").string() + "' | cat > '" + out.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const auto bytes = readBytes(out);
        const auto printed = lines(std::string(bytes.begin(), bytes.end()));
        if (std::string(form) == "--json") {
            ASSERT_EQ(printed.size(), 120u);
            for (const std::string& line : printed) EXPECT_TRUE(Json::accept(line)) << line;
        } else {
            // Blocks of file, name, image, layout, 6 identity and 58 value lines.
            std::size_t blocks = 0;
            for (std::size_t i = 0; i < printed.size(); ++i) {
                if (!printed[i].starts_with("file = ")) continue;
                ++blocks;
                ASSERT_LT(i + 64, printed.size());
                EXPECT_TRUE(printed[i + 1].starts_with("name = "));
                EXPECT_TRUE(printed[i + 64].starts_with("voltage = ")) << printed[i + 64];
            }
            EXPECT_EQ(blocks, 120u);
        }
    }
}

// check: one line per file, and success only when every file loads with its
// checksum byte right.
TEST(Check, SaysOfEachFileWhetherItCanBeFlashed)
{
    TempDir dir;
    ImageSpec wrongChecksum;
    wrongChecksum.correctChecksum = false;
    StructuredImage broken = buildStructuredImage({});
    broken.bytes.at(broken.tables.voltageFrequency) = 0x11;
    const auto good = dir.write("good.rom", buildImage({})).string();
    const auto raw = dir.write("raw dump.rom", buildStructuredImage({}).bytes).string();
    const auto wrong = dir.write("wrong.rom", buildImage(wrongChecksum)).string();
    const auto bad = dir.write("bad.rom", broken.bytes).string();
    const struct {
        std::vector<std::string> files;
        std::string out;
        std::string err;
        int status;
    } cases[] = {
        {{good, raw},
         good + ": loads, Geforce GTX 680, built-in table, checksum right\n" + raw +
             ": loads, Geforce GTX 680, image tables, checksum right\n",
         "", 0},
        {{wrong, good},
         wrong + ": loads, Geforce GTX 680, built-in table, checksum wrong\n" + good +
             ": loads, Geforce GTX 680, built-in table, checksum right\n",
         "", 1},
        {{bad, good},
         bad + ": does not load\n" + good + ": loads, Geforce GTX 680, built-in table, checksum right\n",
         "veltra-cli: " + bad + ": Unknown boost table version!\nveltra-cli: " + bad + ": Load bios file failed!\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        std::vector<std::string> args = {"check"};
        args.insert(args.end(), c.files.begin(), c.files.end());
        const CliRun text = runCli(args);
        EXPECT_EQ(text.status, c.status);
        EXPECT_EQ(text.out, c.out);
        EXPECT_EQ(text.err, c.err);

        args.push_back("--json");
        const CliRun json = runCli(args);
        EXPECT_EQ(json.status, c.status);
        const auto records = lines(json.out);
        ASSERT_EQ(records.size(), c.files.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            const auto record = Json::parse(records[i]);
            EXPECT_EQ(record["command"], "check");
            EXPECT_EQ(record["file"], c.files[i]);
            EXPECT_EQ(record["ok"], lines(c.out)[i].ends_with("checksum right"));
        }
    }
}

TEST(Output, AResultThatCannotBeWrittenIsAFailure)
{
    TempDir dir;
    ImageSpec other;
    other.gpuClockWord = 2200;
    const auto a = dir.write("a.rom", buildImage({})).string();
    const auto b = dir.write("b.rom", buildImage(other)).string();
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {{{"show", a}, 1}, {{"show", "--json", a}, 1}, {{"diff", a, b}, 2}, {{"check", a}, 1}};
    for (const auto& c : cases) {
        const CliRun run = runCli(c.args, "/dev/full");
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, "veltra-cli: cannot write to standard output\n");
    }
}

}  // namespace
}  // namespace veltra::testing
