// Many load -> edit -> save -> load cycles on one file: every cycle reads
// back exactly what it wrote, the checksum stays valid, the bytes the editor
// does not own never change, and memory use stays flat.
//
// VELTRA_SOAK_CYCLES sets the number of cycles (the suite runs fewer than a
// full soak), VELTRA_KILL_ROUNDS the number of saves killed part way,
// VELTRA_SOAK_SEED the random edits.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

#if defined(__SANITIZE_ADDRESS__)
#define VELTRA_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELTRA_UNDER_ASAN 1
#endif
#endif

namespace veltra::testing {
namespace {

unsigned long envNumber(const char* name, unsigned long fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

// Resident and peak resident set, in KiB.
struct Memory {
    unsigned long rss = 0;
    unsigned long peak = 0;
};

Memory memoryNow()
{
    Memory memory;
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:")
            status >> memory.rss;
        else if (key == "VmHWM:")
            status >> memory.peak;
        status.ignore(4096, '\n');
    }
    return memory;
}

// Random values that pass every save rule; clocks in half-MHz steps, so that
// they are saved exactly.
PageValues randomValidEdit(std::mt19937& random)
{
    auto halfMHz = [&](int lowest, int highest) {
        return formatClock(std::uniform_int_distribution<int>(lowest * 2, highest * 2)(random) * 0.5f);
    };
    auto between = [&](std::uint32_t lowest, std::uint32_t highest) {
        return std::uniform_int_distribution<std::uint32_t>(lowest, highest)(random);
    };
    PageValues v;
    v.gpuClock = halfMHz(300, 2000);
    v.boostClock = halfMHz(300, 2000);
    v.memClock = halfMHz(1000, 2000);
    for (std::string& entry : v.boostTable)
        entry = halfMHz(300, 2000);
    v.powerMax = between(0, 500);
    v.powerDefault = between(0, v.powerMax);
    v.powerLimitHi = between(0, 500);
    v.powerLimitLo = between(0, v.powerLimitHi);
    v.fanMax = between(10, 100);
    v.fanMin = between(10, v.fanMax);
    v.voltage = std::to_string(between(800, 1500));
    return v;
}

TEST(Soak, LoadEditSaveLoadCycles)
{
    const unsigned long cycles = envNumber("VELTRA_SOAK_CYCLES", 1000);
    const unsigned long seed = envNumber("VELTRA_SOAK_SEED", 20261207);
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));

    TempDir dir;
    ImageSpec spec;
    spec.board = BoardModel::Gtx670;  // fan bytes far from the rest, checksum not at the end
    const std::vector<std::uint8_t> original = buildImage(spec);
    const auto path = dir.write("soak.rom", original);

    MessageRecorder recorder;
    BiosInfo info;
    ASSERT_TRUE(loadRomFile(path, info));
    const std::vector<bool> owned = ownedBytes(info);
    const unsigned long warmUp = std::max(1ul, std::min(100ul, cycles / 10));
    Memory start;

    for (unsigned long cycle = 0; cycle < cycles; ++cycle) {
        if (cycle == warmUp)
            start = memoryNow();
        ASSERT_TRUE(loadRomFile(path, info)) << "cycle " << cycle;
        PageValues edit = randomValidEdit(random);
        ASSERT_EQ(commitPageValues(edit, info, {}), nullptr) << "cycle " << cycle;
        ASSERT_TRUE(saveRomFile(path, info)) << "cycle " << cycle;

        BiosInfo reloaded;
        ASSERT_TRUE(loadRomFile(path, reloaded)) << "cycle " << cycle;
        // A save writes slot 0's voltage to every slot and a fresh checksum.
        for (auto& slot : info.voltage)
            slot.value = info.voltage[0].value;
        info.checksumStored = info.checksumComputed;
        ASSERT_EQ(dump(reloaded), dump(info)) << "cycle " << cycle;
        ASSERT_EQ(reloaded.checksumStored, reloaded.checksumComputed) << "cycle " << cycle;
        const RomImage& image = romImage();
        ASSERT_EQ(image.loadedLength, original.size());
        for (std::size_t i = 0; i < original.size(); ++i)
            ASSERT_TRUE(owned[i] || image.bytes[i] == original[i]) << "cycle " << cycle << ", byte " << i;
    }
    const Memory end = memoryNow();
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"soak.rom"});

    std::cout << "soak: " << cycles << " cycles, seed " << seed << "; after " << warmUp << " cycles RSS "
              << start.rss << " KiB, peak " << start.peak << " KiB; at the end RSS " << end.rss << " KiB, peak "
              << end.peak << " KiB\n";
#ifndef VELTRA_UNDER_ASAN
    // Without the sanitizer's quarantine, a leak of even one image per cycle
    // would show far beyond this.
    EXPECT_LT(end.peak, start.peak + 2048) << "peak memory grew over the soak";
#endif
}

// A save killed at a random moment, with no chance to clean up, leaves the
// file either as it was or as the save meant it, whole; a temporary file it
// left behind does not confuse the next save.
TEST(Soak, SaveKilledAtARandomMomentLeavesTheOldOrTheNewFileWhole)
{
    const unsigned long rounds = envNumber("VELTRA_KILL_ROUNDS", 40);
    const unsigned long seed = envNumber("VELTRA_SOAK_SEED", 20261207);
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));

    TempDir dir;
    TempDir elsewhere;
    ImageSpec spec;
    spec.board = BoardModel::Gtx670;
    const auto path = dir.write("kill.rom", buildImage(spec));
    MessageRecorder recorder;

    // A save in a child, killed after `delay` (never, when none).
    using Clock = std::chrono::steady_clock;
    const auto saveInChild = [&](BiosInfo& info, std::optional<Clock::duration> delay) {
        const auto started = Clock::now();
        const pid_t pid = ::fork();
        if (pid == 0)
            ::_exit(saveRomFile(path, info) ? 0 : 1);
        if (delay) {
            std::this_thread::sleep_for(*delay);
            ::kill(pid, SIGKILL);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return Clock::now() - started;
    };

    // Kills spread over about as long as a whole save takes here.
    BiosInfo info;
    ASSERT_TRUE(loadRomFile(path, info));
    Clock::duration span{};
    for (int i = 0; i < 5; ++i)
        span = std::max(span, saveInChild(info, std::nullopt));

    unsigned long kept = 0;
    unsigned long replaced = 0;
    for (unsigned long round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::vector<std::uint8_t> before = readBytes(path);
        ASSERT_TRUE(loadRomFile(path, info));
        PageValues edit = randomValidEdit(random);
        ASSERT_EQ(commitPageValues(edit, info, {}), nullptr);
        // What the save means to write: the same values saved elsewhere.
        BiosInfo meant = info;
        ASSERT_TRUE(saveRomFile(elsewhere / "meant.rom", meant));
        const std::vector<std::uint8_t> after = readBytes(elsewhere / "meant.rom");
        ASSERT_NE(after, before);

        std::uniform_int_distribution<Clock::rep> moment(0, span.count() * 6 / 5);
        saveInChild(info, Clock::duration(moment(random)));
        const std::vector<std::uint8_t> now = readBytes(path);
        ASSERT_TRUE(now == before || now == after) << "the file is neither the old nor the new one";
        (now == before ? kept : replaced) += 1;
    }

    // Whatever was left is a hidden temporary named after the file, and a
    // save with them around goes through.
    std::set<std::string> entries = folderEntries(dir.path());
    const auto left = std::erase_if(entries, [](const std::string& name) { return name.starts_with(".kill.rom.veltra-"); });
    EXPECT_EQ(entries, std::set<std::string>{"kill.rom"});
    ASSERT_TRUE(loadRomFile(path, info));
    info.gpuClock.value = 1234.5f;
    ASSERT_TRUE(saveRomFile(path, info));
    BiosInfo reloaded;
    ASSERT_TRUE(loadRomFile(path, reloaded));
    EXPECT_EQ(reloaded.gpuClock.value, 1234.5f);
    EXPECT_TRUE(recorder.messages().empty());

    std::cout << "kill: " << rounds << " saves killed within "
              << std::chrono::duration_cast<std::chrono::microseconds>(span).count() * 6 / 5 << " us, seed " << seed
              << "; old file kept " << kept << ", new file whole " << replaced << ", temporaries left " << left
              << "\n";
}

}  // namespace
}  // namespace veltra::testing
