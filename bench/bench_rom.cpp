// Times the load and the save of a 204800-byte image against the raw file
// work each cannot avoid, and the loads of files with a real structure (a raw
// dump with a UEFI image, every field found through its own tables; a
// whole-flash dump of another board as long as the capacity) against a plain
// read of each file, and prints the ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "rom/rom.h"
#include "tests/support/image_builder.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace veltra;

struct Fixture {
    testing::TempDir dir;
    std::filesystem::path image;
    std::filesystem::path raw;
    std::filesystem::path structured;
    std::filesystem::path flash;
    BiosInfo info;

    Fixture()
    {
        testing::ImageSpec spec;
        spec.length = RomImage::minimumSpan;
        image = dir.write("image.rom", testing::buildImage(spec));
        raw = dir / "raw.rom";
        testing::StructuredSpec dump;
        dump.values.board = BoardModel::Gtx660Ti;
        dump.uefiLength = 0x14000;
        structured = dir.write("structured.rom", testing::buildStructuredImage(dump).bytes);
        testing::StructuredSpec whole = testing::familySpec(testing::BoardFamily::Gtx780);
        whole.trailingLength =
            RomImage::capacity - static_cast<std::uint32_t>(testing::buildStructuredImage(whole).bytes.size());
        flash = dir.write("flash.rom", testing::buildStructuredImage(whole).bytes);
        setMessageHandler([](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
        if (!loadRomFile(flash, info) || romImage().loadedLength != RomImage::capacity ||
            !loadRomFile(structured, info) || info.layout.source != LayoutSource::ImageTables ||
            !loadRomFile(image, info))
            std::abort();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void plainRead(benchmark::State& state, std::filesystem::path Fixture::*file)
{
    const std::filesystem::path& path = fixture().*file;
    const auto length = static_cast<ssize_t>(std::filesystem::file_size(path));
    std::vector<std::uint8_t> buffer(RomImage::capacity);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        ::close(fd);
        if (n != length)
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.data());
    }
}

void load(benchmark::State& state, std::filesystem::path Fixture::*file)
{
    for (auto _ : state)
        if (!loadRomFile(fixture().*file, fixture().info))
            state.SkipWithError("load failed");
}

// What any careful save must do: write a temporary file, flush it, rename it
// over the target.
void plainWriteFlushRename(benchmark::State& state)
{
    const auto& bytes = romImage().bytes;
    const auto temporary = fixture().dir / ".raw.tmp";
    for (auto _ : state) {
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool ok = ::write(fd, bytes.data(), romImage().loadedLength) == romImage().loadedLength &&
                        ::fsync(fd) == 0 && ::close(fd) == 0 && ::rename(temporary.c_str(), fixture().raw.c_str()) == 0;
        if (!ok)
            state.SkipWithError("raw write failed");
    }
}

void save(benchmark::State& state)
{
    for (auto _ : state)
        if (!saveRomFile(fixture().image, fixture().info))
            state.SkipWithError("save failed");
}

// The built-in image last, so that the save benchmarks write its 204800 bytes.
BENCHMARK_CAPTURE(plainRead, flash, &Fixture::flash)->MinTime(0.5);
BENCHMARK_CAPTURE(load, flash, &Fixture::flash)->MinTime(0.5);
BENCHMARK_CAPTURE(plainRead, structured, &Fixture::structured)->MinTime(0.5);
BENCHMARK_CAPTURE(load, structured, &Fixture::structured)->MinTime(0.5);
BENCHMARK_CAPTURE(plainRead, builtIn, &Fixture::image)->MinTime(0.5);
BENCHMARK_CAPTURE(load, builtIn, &Fixture::image)->MinTime(0.5);
BENCHMARK(plainWriteFlushRename)->MinTime(1.0);
BENCHMARK(save)->MinTime(1.0);

// Keeps each benchmark's mean real time per iteration, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.iterations > 0)
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* what, const char* floor) {
        const auto a = reporter.times.find(what);
        const auto b = reporter.times.find(floor);
        if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0)
            return;
        std::printf("%-16s / %-22s = %.2fx\n", what, floor, a->second / b->second);
    };
    std::printf("\nRatios (target <= 1.50x):\n");
    ratio("load/builtIn", "plainRead/builtIn");
    ratio("load/structured", "plainRead/structured");
    ratio("load/flash", "plainRead/flash");
    ratio("save", "plainWriteFlushRename");
    benchmark::Shutdown();
    return 0;
}
