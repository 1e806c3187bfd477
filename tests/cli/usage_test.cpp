#include <gtest/gtest.h>

#include "cli_process.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

TEST(Usage, NamesEachProblemOnOneLineAndTouchesNoFile)
{
    TempDir dir;
    const auto file = dir.write("card.rom", buildImage({})).string();
    const auto before = readBytes(file);
    const std::string setHelp = " (see veltra-cli set --help)\n";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"set", file, "gpu-clock"}, "veltra-cli set: \"gpu-clock\" is not NAME=VALUE" + setHelp},
        {{"set", file, "boost-65=1000"}, "veltra-cli set: unknown NAME \"boost-65\"" + setHelp},
        {{"set", file, "boost-00=1000"}, "veltra-cli set: unknown NAME \"boost-00\"" + setHelp},
        {{"set", file, "boost-1=1000"}, "veltra-cli set: unknown NAME \"boost-1\"" + setHelp},
        // Values some images hold are shown but never written.
        {{"set", file, "boost-limit=1202"}, "veltra-cli set: boost-limit is read-only" + setHelp},
        {{"set", file, "fan-min=20", " cooler-fan-min = 20"}, "veltra-cli set: cooler-fan-min is read-only" + setHelp},
        {{"set", file, "cooler-fan-max=fast"}, "veltra-cli set: cooler-fan-max is read-only" + setHelp},
        {{"set", file, "fan\nmin=1"}, "veltra-cli set: unknown NAME \"fan\\x0Amin\"" + setHelp},
        {{"set", file, "GPU-clock=1000"}, "veltra-cli set: unknown NAME \"GPU-clock\"" + setHelp},
        {{"set", file, "fan-min=20", "fan-max=90", "fan-min=30"},
         "veltra-cli set: NAME \"fan-min\" is given twice" + setHelp},
        {{"set", file, "boost-01=1000", "boost-01 = 1001"},
         "veltra-cli set: NAME \"boost-01\" is given twice" + setHelp},
        {{"set", file, "power-max=-1"},
         "veltra-cli set: power-max needs a whole number from 0 to 4294967295, not \"-1\"" + setHelp},
        {{"set", file, "power-limit-hi=4294967296"},
         "veltra-cli set: power-limit-hi needs a whole number from 0 to 4294967295, not \"4294967296\"" + setHelp},
        {{"set", file, "fan-max=85%"},
         "veltra-cli set: fan-max needs a whole number from 0 to 4294967295, not \"85%\"" + setHelp},
        {{"set", file, "fan-min="},
         "veltra-cli set: fan-min needs a whole number from 0 to 4294967295, not \"\"" + setHelp},
        // The whole VALUE must be a number in the value's own form.
        {{"set", file, "gpu-clock=1100abc"},
         "veltra-cli set: gpu-clock needs a decimal number in MHz, not \"1100abc\"" + setHelp},
        {{"set", file, "mem-clock=1058,5"},
         "veltra-cli set: mem-clock needs a decimal number in MHz, not \"1058,5\"" + setHelp},
        {{"set", file, "boost-45=1e3"}, "veltra-cli set: boost-45 needs a decimal number in MHz, not \"1e3\"" + setHelp},
        {{"set", file, "boost-clock=."}, "veltra-cli set: boost-clock needs a decimal number in MHz, not \".\"" + setHelp},
        {{"set", file, "gpu-clock=nan"}, "veltra-cli set: gpu-clock needs a decimal number in MHz, not \"nan\"" + setHelp},
        {{"set", file, "gpu-clock= "}, "veltra-cli set: gpu-clock needs a decimal number in MHz, not \"\"" + setHelp},
        {{"set", file, "voltage=1200.7"}, "veltra-cli set: voltage needs a whole number in mV, not \"1200.7\"" + setHelp},
        {{"set", file, "voltage=-5"}, "veltra-cli set: voltage needs a whole number in mV, not \"-5\"" + setHelp},
        {{"set", file, "voltage=1200mV"}, "veltra-cli set: voltage needs a whole number in mV, not \"1200mV\"" + setHelp},
        // The pairs are read before the file is opened.
        {{"set", (dir / "missing.rom").string(), "nonsense=1"}, "veltra-cli set: unknown NAME \"nonsense\"" + setHelp},
        {{"set"}, "veltra-cli set: missing FILE" + setHelp},
        {{"show"}, "veltra-cli show: missing FILE (see veltra-cli show --help)\n"},
        {{"show", "--json"}, "veltra-cli show: missing FILE (see veltra-cli show --help)\n"},
        {{"diff"}, "veltra-cli diff: missing FILE_A and FILE_B (see veltra-cli diff --help)\n"},
        {{"diff", file}, "veltra-cli diff: missing FILE_B (see veltra-cli diff --help)\n"},
        {{"check"}, "veltra-cli check: missing FILE (see veltra-cli check --help)\n"},
        {{}, "veltra-cli: missing command: show, set, diff or check (see veltra-cli --help)\n"},
        {{"show", "--yaml", file},
         "veltra-cli show: The following argument was not expected: --yaml (see veltra-cli show --help)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(readBytes(file), before);
    }
}

TEST(Usage, HelpAndVersionGoToStandardOutput)
{
    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "veltra-cli 1.1\n");
    EXPECT_EQ(version.err, "");

    for (const char* command : {"show", "set", "diff", "check"}) {
        const CliRun help = runCli({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.err, "");
        EXPECT_NE(help.out.find(std::string("Usage: veltra-cli ") + command), std::string::npos) << help.out;
    }
}

}  // namespace
}  // namespace veltra::testing
