// The other boards of the generation, one image per family of builds: the
// shapes and contents their tables were described with, and values of this
// builder's own choosing.
#include <stdexcept>

#include "tests/support/structured_image.h"

namespace veltra::testing {
namespace {

// Ladder words from `first` up, 13 MHz a step.
std::array<std::uint16_t, boostEntryCount> ladderFrom(std::uint16_t first)
{
    std::array<std::uint16_t, boostEntryCount> words{};
    for (std::size_t k = 0; k < words.size(); ++k)
        words[k] = static_cast<std::uint16_t>(first + 26 * k);
    return words;
}

// The word of ladder entry k of a spec, as the builder continues it past the
// 45 words.
std::uint16_t ladderTop(const ImageSpec& v, std::size_t k)
{
    return static_cast<std::uint16_t>(v.boostTableWords[boostEntryCount - 1] + 26 * (k - (boostEntryCount - 1)));
}

StructuredSpec otherBoard(std::uint16_t deviceId)
{
    StructuredSpec spec;
    spec.values.board = BoardModel::Other;
    spec.values.deviceId = deviceId;
    return spec;
}

StructuredSpec gtx770()
{
    StructuredSpec spec = otherBoard(0x1184);
    spec.imageOffset = 0x600;
    spec.legacyLength = 0xF600;
    spec.uefiLength = 0x4000;
    spec.shapes = TableShapes{.pTokenSize = 100, .performanceHeader = 30, .virtualPStateHeader = 23,
                              .voltageMapEntrySize = 34, .voltageMapEntries = 40, .performanceEntrySize = 26,
                              .virtualPStateEntries = 24, .voltageFrequencyHeader = 7, .voltageFrequencyExtras = 56,
                              .powerHeader = 31, .powerEntrySize = 35, .powerEntries = 9, .voltageMapHeader = 13};
    TableContents& c = spec.contents;
    c.performanceStates = {0x07, 0x0A, 0x0E, 0x0F};
    c.voltageFrequencyEntries = {{7, 0, 0}, {10, 0, 24}, {15, 0, 52}};
    c.powerDefaultsEntry = noEntry;
    c.fanEntry = 5;
    c.voltageModes = {0, 1};
    ImageSpec& v = spec.values;
    v.gpuClockWord = 2091;                // 1045.5 MHz
    v.boostClockWord = 2169;              // 1084.5
    v.memClockWord = 0x4000 | 3505;       // 1752.5
    v.boostTableWords = ladderFrom(1072); // 536 MHz up, 52 entries
    v.powerLimitLoMilliwatts = 228000;
    v.powerLimitHiMilliwatts = 243000;
    v.fanMin = 30;
    v.fanMax = 100;
    v.voltageDwords = ImageSpec::voltageDwordsFor(1212);
    spec.boostLimitWord = ladderTop(v, 51);
    spec.coolerFan = {{20, 100}};
    return spec;
}

StructuredSpec gtx780()
{
    StructuredSpec spec = otherBoard(0x1004);
    spec.legacyLength = 0xF400;
    spec.uefiLength = 0x6000;
    spec.shapes = TableShapes{.pTokenSize = 104, .performanceHeader = 29, .virtualPStateHeader = 22,
                              .voltageMapEntrySize = 38, .voltageMapEntries = 64, .performanceEntrySize = 25,
                              .virtualPStateEntries = 32, .voltageFrequencyHeader = 7, .voltageFrequencyExtras = 60,
                              .powerHeader = 13, .powerEntrySize = 34, .powerEntries = 15};
    TableContents& c = spec.contents;
    c.boostClockEntry = 0;
    c.baseClockEntry = 2;
    c.performanceStates = {0x07, 0x0A, 0x0F, 0xFF};
    c.voltageFrequencyEntries = {{5, 0, 0}, {8, 0, 20}, {10, 0, 30}, {15, 1, 52}};
    c.powerLimitsEntry = 5;
    c.powerDefaultsEntry = noEntry;
    c.fanEntry = 11;
    c.voltageFirstEntry = 0;
    c.voltageSecondEntry = 2;
    c.voltageFurtherCoefficients = {true, true};
    ImageSpec& v = spec.values;
    v.gpuClockWord = 1934;           // 967 MHz
    v.boostClockWord = 2039;         // 1019.5
    v.memClockWord = 0x4000 | 3004;  // 1502
    v.boostTableWords = ladderFrom(1098);
    v.powerLimitLoMilliwatts = 250000;
    v.powerLimitHiMilliwatts = 265000;
    v.fanMin = 25;
    v.fanMax = 90;
    spec.boostLimitWord = ladderTop(v, 50);
    spec.coolerFan = {{20, 100}};
    return spec;
}

StructuredSpec gtx650Ti()
{
    StructuredSpec spec = otherBoard(0x11C6);
    spec.legacyLength = 0xF400;
    spec.uefiLength = 0x2000;
    spec.shapes = TableShapes{.pTokenSize = 88, .performanceHeader = 29, .virtualPStateHeader = 18,
                              .voltageMapEntrySize = 34, .voltageMapEntries = 16, .voltageFrequencyExtras = 8};
    TableContents& c = spec.contents;
    c.boostClockEntry = noEntry;
    c.baseClockEntry = noEntry;
    c.performanceStates = {0x07, 0x0F, 0xFF, 0xFF};
    c.voltageFrequencyEntries = {{7, 0, 0}, {15, 2, 2}};
    c.powerLimitsEntry = noEntry;
    c.powerDefaultsEntry = noEntry;
    ImageSpec& v = spec.values;
    v.memClockWord = 0x4000 | 2700;  // 1350 MHz
    v.fanMin = 21;
    v.fanMax = 100;
    v.voltageDwords = {1100000, 1100000, 1050000, 1050000, 11000000, 10500000};
    return spec;
}

StructuredSpec gt640()
{
    StructuredSpec spec = otherBoard(0x0FC0);
    spec.imageOffset = 0x400;
    spec.legacyLength = 0xF000;
    spec.uefiLength = 0x3000;
    spec.shapes = TableShapes{.pTokenSize = 84, .performanceHeader = 30, .virtualPStateHeader = 18,
                              .voltageMapEntrySize = 38, .voltageMapEntries = 8, .virtualPStateEntries = 0,
                              .voltageFrequencyExtras = 2, .powerVersion = 0x10, .powerEntries = 0};
    TableContents& c = spec.contents;
    c.boostClockEntry = 0;  // named, yet the table has no entries
    c.baseClockEntry = 0;
    c.performanceStates = {0x07, 0xFF, 0x0F, 0xFF};
    c.voltageFrequencyEntries = {{7, 0, 0}, {15, 1, 1}};
    c.powerLimitsEntry = noEntry;
    c.powerDefaultsEntry = noEntry;
    c.voltageSecondEntry = noEntry;
    c.memoryType = 1;
    ImageSpec& v = spec.values;
    v.memClockWord = 0x4000 | 891;  // DDR3: the clock itself
    v.fanMin = 40;
    v.fanMax = 100;
    return spec;
}

StructuredSpec gt710()
{
    StructuredSpec spec = otherBoard(0x128B);
    spec.legacyLength = 0xF600;
    spec.uefiLength = 0x2000;
    spec.shapes = TableShapes{.pTokenSize = 72, .performanceHeader = 30, .virtualPStateHeader = 20,
                              .voltageMapEntrySize = 34, .voltageMapEntries = 30, .performanceEntrySize = 25,
                              .virtualPStateEntries = 23, .voltageFrequencyHeader = 7, .voltageFrequencyExtras = 47};
    TableContents& c = spec.contents;
    c.boostClockEntry = 3;  // one clock: both indexes name one entry
    c.baseClockEntry = 3;
    c.performanceStates = {0x07, 0x0A, 0x0F, 0xFF};
    c.voltageFrequencyEntries = {{7, 0, 10}, {10, 0, 19}, {15, 19, 42}};
    c.powerLimitsEntry = noEntry;
    c.powerDefaultsEntry = noEntry;
    c.memoryType = 1;
    ImageSpec& v = spec.values;
    v.gpuClockWord = 1908;          // 954 MHz
    v.memClockWord = 0x4000 | 900;  // DDR3
    v.boostTableWords = ladderFrom(1336);
    v.fanMin = 40;
    v.fanMax = 80;
    v.voltageDwords = {1050000, 1050000, 1000000, 1000000, 10500000, 10000000};
    spec.boostLimitWord = v.boostTableWords[22];
    return spec;
}

StructuredSpec mobile()
{
    StructuredSpec spec = otherBoard(0x0FD1);
    spec.legacyLength = 0xF600;
    // The PCI structure's image runs on past the checksummed part.
    spec.pcirLengthUnits = 0xBB;
    spec.trailingLength = 0xBB * 512 - 0xF600;
    spec.shapes = TableShapes{.pTokenSize = 68, .performanceHeader = 30, .virtualPStateHeader = 20,
                              .voltageMapEntrySize = 34, .voltageMapEntries = 20, .performanceEntrySize = 26,
                              .voltageFrequencyExtras = 30, .powerEntrySize = 34};
    TableContents& c = spec.contents;
    c.boostClockEntry = 1;
    c.baseClockEntry = 1;
    c.performanceStates = {0x08, 0x0F, 0xFF, 0xFF};
    c.voltageFrequencyEntries = {{8, 0, 5}, {15, 5, 20}};
    c.powerLimitsEntry = noEntry;
    c.powerDefaultsEntry = noEntry;
    c.fanEntry = std::nullopt;
    ImageSpec& v = spec.values;
    v.gpuClockWord = 1470;           // 735 MHz
    v.memClockWord = 0x8000 | 2000;  // 1000 MHz; bit 15 set, no 0x4000
    v.boostTableWords = ladderFrom(1100);
    v.voltageDwords = ImageSpec::voltageDwordsFor(1100);
    return spec;
}

}  // namespace

const char* familyName(BoardFamily family)
{
    switch (family) {
    case BoardFamily::Gtx770: return "770-like";
    case BoardFamily::Gtx780: return "780-like";
    case BoardFamily::Gtx650Ti: return "650 Ti-like";
    case BoardFamily::Gt640: return "GT 640-like";
    case BoardFamily::Gt710: return "GT 710-like";
    case BoardFamily::Mobile: return "mobile-like";
    }
    throw std::logic_error("unknown family");
}

StructuredSpec familySpec(BoardFamily family)
{
    switch (family) {
    case BoardFamily::Gtx770: return gtx770();
    case BoardFamily::Gtx780: return gtx780();
    case BoardFamily::Gtx650Ti: return gtx650Ti();
    case BoardFamily::Gt640: return gt640();
    case BoardFamily::Gt710: return gt710();
    case BoardFamily::Mobile: return mobile();
    }
    throw std::logic_error("unknown family");
}

}  // namespace veltra::testing
