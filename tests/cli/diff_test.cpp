#include <gtest/gtest.h>

#include <functional>

#include <nlohmann/json.hpp>

#include "cli_process.h"
#include "kepler_image.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

using Json = nlohmann::ordered_json;

TEST(Diff, ListsEveryValueAndIdentityItemThatDiffers)
{
    TempDir dir;
    ImageSpec original;
    original.board = BoardModel::Gtx670;
    const auto a = dir.write("a.rom", buildImage(original)).string();
    const auto b = (dir / "b.rom").string();
    ASSERT_EQ(runCli({"set", a, "-o", b, "gpu-clock=1100", "boost-45=1700.5", "voltage=1200"}).status, 0);
    ImageSpec otherBoard;
    otherBoard.board = BoardModel::Gtx680;
    otherBoard.dateText = "11/02/12";
    const auto c = dir.write("c.rom", buildImage(otherBoard)).string();
    const auto checksumOf = [](const std::string& file) {
        return lines(runCli({"show", file}).out).at(6).substr(std::string("checksum = ").size());
    };

    const struct {
        std::string a, b;
        std::vector<std::string> out;
    } cases[] = {
        {a, a, {}},
        {a, b,
         {"checksum: " + checksumOf(a) + " -> " + checksumOf(b), "gpu-clock: 1006.00 -> 1100.00",
          "boost-45: 1600.00 -> 1700.50", "voltage: 1175 -> 1200"}},
        {a, c,
         {"name: Geforce GTX 670 -> Geforce GTX 680", "date: 03/22/12 -> 11/02/12",
          "device-id: 10DE - 1189 -> 10DE - 1180", "checksum: " + checksumOf(a) + " -> " + checksumOf(c)}},
    };
    for (const auto& t : cases) {
        const CliRun text = runCli({"diff", t.a, t.b});
        EXPECT_EQ(text.status, t.out.empty() ? 0 : 1);
        EXPECT_EQ(text.err, "");
        EXPECT_EQ(lines(text.out), t.out);

        // The same differences as numbers and objects, as show --json gives each item.
        const CliRun json = runCli({"diff", "--json", t.a, t.b});
        EXPECT_EQ(json.status, text.status);
        const auto itemsA = Json::parse(runCli({"show", "--json", t.a}).out);
        const auto itemsB = Json::parse(runCli({"show", "--json", t.b}).out);
        auto differences = Json::array();
        for (const std::string& line : t.out) {
            const std::string name = line.substr(0, line.find(": "));
            differences.push_back({{"name", name}, {"a", itemsA[name]}, {"b", itemsB[name]}});
        }
        EXPECT_EQ(Json::parse(json.out), (Json{{"format", 1}, {"command", "diff"}, {"files", {t.a, t.b}}, {"ok", true},
                                               {"errors", Json::array()}, {"differences", differences}}));
    }
}

// A value one image has and the other lacks differs: "none" on the side
// that lacks it, null in JSON.
TEST(Diff, AValueOnlyOneImageHasIsADifference)
{
    const auto image = [](std::function<void(StructuredSpec&)> change) {
        StructuredSpec spec = otherBoardSpec();
        spec.shapes = shapesOf(BoardModel::Gtx680);
        spec.shapes->pTokenSize = 100;  // room for the read-only tables' pointers
        change(spec);
        return buildStructuredImage(spec).bytes;
    };
    const std::vector<std::uint8_t> full = image([](StructuredSpec&) {});
    const struct {
        const char* what;
        std::vector<std::uint8_t> b;
        std::vector<std::string> out;  // after the checksum's line
        std::vector<Json> a, bJson;
    } cases[] = {
        {"no power entries", image([](StructuredSpec& s) { s.contents.powerLimitsEntry = s.contents.powerDefaultsEntry = noEntry; }),
         {"power-default: 170 -> none", "power-max: 225 -> none", "power-limit-lo: 150 -> none",
          "power-limit-hi: 250 -> none"},
         {170, 225, 150, 250}, {nullptr, nullptr, nullptr, nullptr}},
        {"a longer ladder", image([](StructuredSpec& s) { s.contents.voltageFrequencyEntries.back().highest = 48; }),
         {"boost-46: none -> 1613.00", "boost-47: none -> 1626.00"}, {nullptr, nullptr}, {1613.0, 1626.0}},
        {"the read-only values", image([](StructuredSpec& s) {
             s.boostLimitWord = 2404;
             s.coolerFan = {{20, 100}};
         }),
         {"boost-limit: none -> 1202.00", "cooler-fan-min: none -> 20", "cooler-fan-max: none -> 100"},
         {nullptr, nullptr, nullptr}, {1202.0, 20, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto a = dir.write("a.rom", full).string();
        const auto b = dir.write("b.rom", c.b).string();
        const CliRun text = runCli({"diff", a, b});
        EXPECT_EQ(text.status, 1);
        EXPECT_EQ(text.err, "");
        const auto out = lines(text.out);
        ASSERT_FALSE(out.empty());
        EXPECT_TRUE(out[0].starts_with("checksum: ")) << out[0];
        EXPECT_EQ(std::vector<std::string>(out.begin() + 1, out.end()), c.out);

        const CliRun json = runCli({"diff", "--json", a, b});
        EXPECT_EQ(json.status, 1);
        const Json differences = Json::parse(json.out)["differences"];
        ASSERT_EQ(differences.size(), c.out.size() + 1);
        for (std::size_t i = 0; i < c.out.size(); ++i) {
            const std::string name = c.out[i].substr(0, c.out[i].find(": "));
            EXPECT_EQ(differences[i + 1], (Json{{"name", name}, {"a", c.a[i]}, {"b", c.bJson[i]}}));
        }
    }
}

TEST(Diff, ReportsTroubleWithStatusTwo)
{
    TempDir dir;
    const auto good = dir.write("good.rom", buildImage({})).string();
    const auto missing = (dir / "missing.rom").string();
    for (const auto& args : {std::vector<std::string>{"diff", missing, good}, {"diff", good, missing}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        const std::string prefix = "veltra-cli: " + missing + ": ";
        EXPECT_EQ(run.err, prefix + "Cannot open bios file!\n" + prefix + "Load bios file failed!\n");
    }
}

}  // namespace
}  // namespace veltra::testing
