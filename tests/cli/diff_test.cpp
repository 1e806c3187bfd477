#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_process.h"
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
