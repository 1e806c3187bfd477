#include "tests/support/structured_image.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "tests/support/structured_layout.h"

namespace veltra::testing {

using namespace structured;

namespace {

// Marks what the structure sets, so the filler can be changed around it.
class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& bytes) : bytes_(bytes), set_(bytes.size(), false) {}

    void u8(std::uint32_t at, std::uint8_t value)
    {
        bytes_.at(at) = value;
        set_[at] = true;
    }
    void u16(std::uint32_t at, std::uint16_t value)
    {
        putU16(bytes_, at, value);
        set_[at] = set_[at + 1] = true;
    }
    void u32(std::uint32_t at, std::uint32_t value)
    {
        putU32(bytes_, at, value);
        for (std::uint32_t i = 0; i < 4; ++i) set_[at + i] = true;
    }
    void text(std::uint32_t at, std::uint32_t length, const std::string& text)
    {
        for (std::uint32_t i = 0; i < length; ++i)
            u8(at + i, i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
    void zeros(std::uint32_t at, std::uint32_t length) { text(at, length, ""); }

    std::uint8_t byte(std::uint32_t at) const { return bytes_.at(at); }
    const std::vector<bool>& set() const { return set_; }

private:
    std::vector<std::uint8_t>& bytes_;
    std::vector<bool> set_;
};

// A filler byte that is part of no signature.
constexpr std::uint8_t inert = 0x5A;

// Breaks a match of `pattern` at `at` by changing a filler byte. `wild` (the
// checksum byte, not yet known) counts as matching anything.
void breakMatch(std::vector<std::uint8_t>& bytes, const std::vector<bool>& set, std::uint32_t at,
                const std::vector<std::uint8_t>& pattern, std::uint32_t wild)
{
    for (std::uint32_t i = 0; i < pattern.size(); ++i)
        if (at + i != wild && bytes[at + i] != pattern[i])
            return;
    for (std::uint32_t i = 0; i < pattern.size(); ++i)
        if (at + i != wild && !set[at + i]) {
            bytes[at + i] = inert;
            return;
        }
    throw std::logic_error("the structure forms a signature at " + std::to_string(at));
}

// The filler must not look like structure: an option ROM at another 512-byte
// boundary, or a second BIT signature that a reader could find.
void keepFillerInert(std::vector<std::uint8_t>& bytes, const std::vector<bool>& set, std::uint32_t wild,
                     std::uint32_t legacyStart, std::uint32_t uefiStart, std::uint32_t bit)
{
    const std::vector<std::uint8_t> rom = {0x55, 0xAA}, bitSignature = {0xFF, 0xB8, 'B', 'I', 'T', 0x00};
    for (std::uint32_t at = 0; at + rom.size() <= bytes.size(); at += unit)
        if (at != legacyStart && at != uefiStart)
            breakMatch(bytes, set, at, rom, wild);
    for (std::uint32_t at = 0; at + bitSignature.size() <= bytes.size(); ++at)
        if (at != bit)
            breakMatch(bytes, set, at, bitSignature, wild);
}

// A table header: its version byte and sizes first, the rest zero.
void writeHeader(Writer& w, std::uint32_t at, std::uint32_t size, std::initializer_list<std::uint32_t> leading)
{
    w.zeros(at, size);
    for (std::uint32_t value : leading)
        w.u8(at++, static_cast<std::uint8_t>(value));
}

void writePcir(Writer& w, std::uint32_t at, std::uint16_t vendor, std::uint16_t device, std::uint16_t units,
               std::uint8_t codeType, std::uint8_t indicator)
{
    w.text(at, 4, "PCIR");
    w.u16(at + 0x04, vendor);
    w.u16(at + 0x06, device);
    w.u16(at + 0x08, 0);
    w.u16(at + 0x0A, pcirSize);
    w.u8(at + 0x0C, 0);
    w.u8(at + 0x0D, 0x00);  // class code: VGA display controller
    w.u8(at + 0x0E, 0x00);
    w.u8(at + 0x0F, 0x03);
    w.u16(at + 0x10, units);
    w.u16(at + 0x12, 0);
    w.u8(at + 0x14, codeType);
    w.u8(at + 0x15, indicator);
    w.u16(at + 0x16, 0);
}

void writeBit(Writer& w, std::uint32_t image, const TableShapes& shapes)
{
    struct Token {
        char id;
        std::uint8_t version;
        std::uint16_t size, data;
    };
    // Tokens around S, P and M, so that a reader must look them up by id.
    const std::array<Token, 9> tokens = {{
        {'B', 2, 32, junkTokenData},
        {'C', 1, 14, junkTokenData + 0x20},
        {'I', 1, 18, junkTokenData + 0x30},
        {'M', 2, mSize, mData},
        {'N', 0, 0, 0},
        {'P', 2, shapes.pTokenSize, static_cast<std::uint16_t>(pDataAt(shapes))},
        {'S', 2, sSize, sData},
        {'T', 1, 2, headerAreaEnd - 0x10},
        {'U', 1, 3, headerAreaEnd - 0x0C},
    }};
    const std::uint32_t bit = image + bitAt;
    w.u16(bit, 0xB8FF);
    w.text(bit + 2, 4, "BIT");
    w.u16(bit + 0x06, 0x0100);
    w.u8(bit + 0x08, bitHeaderSize);
    w.u8(bit + 0x09, bitTokenSize);
    w.u8(bit + 0x0A, static_cast<std::uint8_t>(tokens.size()));
    w.u8(bit + 0x0B, 0);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::uint32_t at = bit + bitHeaderSize + static_cast<std::uint32_t>(i) * bitTokenSize;
        w.u8(at, static_cast<std::uint8_t>(tokens[i].id));
        w.u8(at + 1, tokens[i].version);
        w.u16(at + 2, tokens[i].size);
        w.u16(at + 4, tokens[i].data);
    }
    std::uint8_t sum = 0;
    for (std::uint32_t i = 0; i < bitHeaderSize; ++i)
        sum = static_cast<std::uint8_t>(sum + w.byte(bit + i));
    w.u8(bit + 0x0B, static_cast<std::uint8_t>(0x100 - sum));
}

}  // namespace

namespace {

// Ladder word k, counted from the P0 range's first edited entry: the spec's
// 45 words, and before and after them words that climb as a real table's do.
std::uint16_t ladderWord(const ImageSpec& v, long k)
{
    const long last = static_cast<long>(boostCount) - 1;
    long word = k < 0 ? long{v.boostTableWords[0]} + 26L * k
                : k <= last ? long{v.boostTableWords[static_cast<std::size_t>(k)]}
                            : long{v.boostTableWords[boostCount - 1]} + 26L * (k - last);
    return static_cast<std::uint16_t>(word < 0 ? 0 : word > 0xFFFF ? 0xFFFF : word);
}

void writeTables(Writer& w, const StructuredSpec& spec, const TableShapes& s, const TableStarts& t)
{
    const TableContents& c = spec.contents;
    const ImageSpec& v = spec.values;
    const std::uint8_t vpsHeader = s.virtualPStateHeader, perfHeader = s.performanceHeader;
    writeHeader(w, t.virtualPState, vpsHeader, {0x10, vpsHeader, vpsBase, vpsDomain, vpsDomains, s.virtualPStateEntries});
    w.u8(t.virtualPState + vpsBoostClockIndexAt, c.boostClockEntry);
    w.u8(t.virtualPState + vpsBaseClockIndexAt, c.baseClockEntry);
    // Each entry opens with its P-state: P0 up to the clocks' entries, the rest unused.
    int lastP0 = -1;
    for (const std::uint8_t named : {c.boostClockEntry, c.baseClockEntry})
        if (named != noEntry)
            lastP0 = std::max(lastP0, int{named});
    for (std::uint32_t i = 0; i < s.virtualPStateEntries; ++i)
        w.u8(t.virtualPState + vpsHeader + i * vpsStride, static_cast<int>(i) <= lastP0 ? pState0 : 0xFF);

    writeHeader(w, t.performance, perfHeader, {0x40, perfHeader, s.performanceEntrySize, perfSub, perfSubs, perfEntries});
    for (std::uint32_t i = 0; i < perfEntries; ++i)
        w.u8(t.performance + perfHeader + i * perfStride(s), c.performanceStates[i]);

    const auto vfEntries = static_cast<std::uint32_t>(c.voltageFrequencyEntries.size());
    writeHeader(w, t.voltageFrequency, s.voltageFrequencyHeader,
                {0x10, s.voltageFrequencyHeader, vfEntrySize(s), vfEntries, vfExtra, s.voltageFrequencyExtras});
    for (std::uint32_t i = 0; i < vfEntries; ++i) {
        const VfRange& range = c.voltageFrequencyEntries[i];
        const std::uint32_t at = t.voltageFrequency + s.voltageFrequencyHeader + i * vfEntrySize(s);
        w.u16(at, static_cast<std::uint16_t>(range.pState << 5));
        w.u8(at + 2, range.lowest);
        w.u8(at + 3, range.highest);
        if (vfEntrySize(s) > 4)
            w.zeros(at + 4, vfEntrySize(s) - 4);
    }
    const VfRange* p0 = p0Range(c);
    const long firstEdited = p0 ? p0->lowest + 1L : 1L;
    for (std::uint32_t i = 0; i < s.voltageFrequencyExtras; ++i)
        w.u16(t.voltageFrequency + vfExtraAt(s, c, i), ladderWord(v, static_cast<long>(i) - firstEdited));

    writeHeader(w, t.powerPolicy, s.powerHeader, {s.powerVersion, s.powerHeader, s.powerEntrySize, s.powerEntries});
    w.u8(t.powerPolicy + powerLimitsIndexAt, c.powerLimitsEntry);
    w.u8(t.powerPolicy + powerDefaultsIndexAt, c.powerDefaultsEntry);

    std::array<std::uint8_t, thermalEntries> ids = thermalIds;
    const auto fanAt = static_cast<std::size_t>(std::find(ids.begin(), ids.end(), fanEntryId) - ids.begin());
    if (c.fanEntry)
        std::swap(ids[fanAt], ids[*c.fanEntry]);
    else
        ids[fanAt] = fanEntryId + 1;
    writeHeader(w, t.thermal, thermalHeader, {0x24, thermalHeader, thermalEntrySize, thermalEntries});
    for (std::uint32_t i = 0; i < ids.size(); ++i)
        w.u8(t.thermal + thermalHeader + i * thermalEntrySize, ids[i]);

    writeHeader(w, t.voltageMap, s.voltageMapHeader, {0x20, s.voltageMapHeader, s.voltageMapEntrySize, s.voltageMapEntries});
    w.u8(t.voltageMap + vmapFirstIndexAt, c.voltageFirstEntry);
    w.u8(t.voltageMap + vmapSecondIndexAt, c.voltageSecondEntry);
    const std::array<std::uint8_t, 2> named = {c.voltageFirstEntry, c.voltageSecondEntry};
    for (std::size_t which = 0; which < named.size(); ++which) {
        if (named[which] == noEntry)
            continue;
        const std::uint32_t at = t.voltageMap + s.voltageMapHeader + named[which] * std::uint32_t{s.voltageMapEntrySize};
        w.u8(at, c.voltageModes[which]);
        w.zeros(at + vmapFurtherCoefficients, s.voltageMapEntrySize - vmapFurtherCoefficients);
        if (c.voltageFurtherCoefficients[which])
            w.u32(at + vmapFurtherCoefficients, 0xFFFFF830u);  // -2000: a slope, not a fixed voltage
    }

    if (t.clockRange != 0) {
        writeHeader(w, t.clockRange, rangeHeader, {0x11, rangeHeader, rangeEntry, rangeSub, rangeSubs, rangeEntries});
        for (std::uint32_t i = 0; i < rangeEntries; ++i) {
            const std::uint32_t at = t.clockRange + rangeHeader + i * rangeStride;
            w.u16(at, static_cast<std::uint16_t>(rangeStates[i] << 5));
            w.u16(at + 2, ladderWord(v, -2));
            w.u16(at + 4, rangeStates[i] == pState0 ? *spec.boostLimitWord : ladderWord(v, -1));
        }
    }
    if (t.cooler != 0) {
        writeHeader(w, t.cooler, coolerHeader, {0x10, coolerHeader, coolerEntry, coolerEntries});
        for (std::uint32_t i = 0; i < coolerEntries; ++i) {
            const std::uint32_t at = t.cooler + coolerHeader + i * coolerEntry;
            w.zeros(at, coolerEntry);
            w.u8(at + 2, i == 0 ? (*spec.coolerFan)[0] : 0);
            w.u8(at + 3, i == 0 ? (*spec.coolerFan)[1] : 0);
        }
    }
}

}  // namespace

StructuredImage buildStructuredImage(const StructuredSpec& spec)
{
    const ImageSpec& v = spec.values;
    const TableContents& c = spec.contents;
    const TableShapes shapes = spec.shapes.value_or(shapesOf(v.board));
    const std::uint32_t legacy = spec.legacyLength != 0 ? spec.legacyLength : legacyLengthOf(v.board);
    if (spec.imageOffset % unit != 0 || legacy % unit != 0 || spec.uefiLength % unit != 0)
        throw std::logic_error("image offsets and lengths go in whole 512-byte units");
    if (legacy <= headerAreaEnd || legacy / unit > 0xFF)  // its length in units must fit the byte at +2
        throw std::logic_error("no legacy image of that length");
    checkShapes(shapes, c);
    if ((spec.boostLimitWord && shapes.pTokenSize < pClockRange + 4) || (spec.coolerFan && shapes.pTokenSize < pCooler + 4))
        throw std::logic_error("the P token is too short for the tables asked for");
    const TableStarts lengths = tableLengths(shapes, c, spec.boostLimitWord.has_value(), spec.coolerFan.has_value());
    TableStarts starts = spec.starts                           ? *spec.starts
                         : v.board == BoardModel::Other ? packedStarts(lengths, tablesFrom(shapes))
                                                                : builtInStarts(layoutBoardOf(v.board), shapes);

    StructuredImage out{};
    const std::uint32_t image = spec.imageOffset;
    out.imageOffset = image;
    out.imageLength = legacy;
    out.uefiOffset = spec.uefiLength != 0 ? image + legacy : 0;
    if (spec.powerTableAfterUefi) {
        if (starts.powerPolicy < legacy)
            starts.powerPolicy = legacy + afterUefiGap;
        out.afterUefiOffset = image + legacy + spec.uefiLength;
        out.afterUefiLength = (starts.powerPolicy - legacy + lengths.powerPolicy + unit - 1) / unit * unit;
    }
    checkLayout(starts, lengths, tablesFrom(shapes), legacy, spec.powerTableAfterUefi);

    out.tables = starts;
    for (std::uint32_t* start : {&out.tables.performance, &out.tables.thermal, &out.tables.voltageMap,
                                 &out.tables.powerPolicy, &out.tables.voltageFrequency, &out.tables.virtualPState,
                                 &out.tables.clockRange, &out.tables.cooler})
        if (*start != 0)
            *start += image;
    if (spec.powerTableAfterUefi)
        out.tables.powerPolicy += spec.uefiLength;  // the pointer skips the UEFI image
    const auto endOf = [](std::uint32_t start, std::uint32_t length) { return start == 0 ? 0 : start + length; };
    out.tableEnds = {endOf(out.tables.performance, lengths.performance), endOf(out.tables.thermal, lengths.thermal),
                     endOf(out.tables.voltageMap, lengths.voltageMap), endOf(out.tables.powerPolicy, lengths.powerPolicy),
                     endOf(out.tables.voltageFrequency, lengths.voltageFrequency),
                     endOf(out.tables.virtualPState, lengths.virtualPState),
                     endOf(out.tables.clockRange, lengths.clockRange), endOf(out.tables.cooler, lengths.cooler)};

    std::vector<std::uint8_t>& bytes = out.bytes;
    bytes.resize(std::size_t{image} + legacy + spec.uefiLength + out.afterUefiLength + spec.trailingLength);
    // A fixed pseudo-random filler, so that nothing is found by luck in zeros.
    std::uint32_t state = 0x2545F491u + static_cast<std::uint32_t>(v.board);
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    Writer w(bytes);

    const std::uint16_t vendor = v.vendorId.value_or(vendorNvidia);
    const std::uint16_t device = v.deviceId ? *v.deviceId : deviceIdOf(v.board);
    const auto units = static_cast<std::uint16_t>(legacy / unit);
    w.u16(image, 0xAA55);
    w.u8(image + 2, static_cast<std::uint8_t>(units));
    w.u16(image + pcirPointerAt, pcirAt);
    w.text(image + dateAt, dateLength, v.dateText);
    w.text(image + versionStringAt, versionPrefixLength, "Version ");
    w.text(image + versionStringAt + versionPrefixLength, versionLength, v.versionText);
    w.text(image + boardTextAt, boardTextLength, v.boardText);

    out.pcir = image + pcirAt;
    const bool last = spec.uefiLength == 0 || spec.legacyLastImageBit;
    writePcir(w, out.pcir, vendor, device, spec.pcirLengthUnits.value_or(units), codeTypeLegacy, last ? lastImage : 0);
    w.zeros(image + npdeAt, npdeSize);
    if (spec.npde) {
        out.npde = image + npdeAt;
        w.text(out.npde, 4, "NPDE");
        w.u16(out.npde + 0x08, units);
    }

    out.bit = image + bitAt;
    writeBit(w, image, shapes);
    out.sData = image + sData;
    w.zeros(out.sData, sSize);
    w.u16(out.sData + 0x03, versionStringAt);
    w.u16(out.sData + 0x0F, boardTextAt);
    w.zeros(image + mData, mSize);
    w.u16(image + mData + mPointerAt, memoryTypes);
    writeHeader(w, image + memoryTypes, memoryTypeHeader, {0x10, memoryTypeHeader, memoryTypeEntry, memoryStraps});
    for (std::uint32_t strap = 0; strap < memoryStraps; ++strap) {
        const std::uint32_t at = image + memoryTypes + memoryTypeHeader + strap * memoryTypeEntry;
        w.zeros(at, memoryTypeEntry);
        w.u8(at, strap < 8 ? c.memoryType : unusedStrap);
    }
    out.mData = image + mData;
    out.memoryTypes = image + memoryTypes;
    out.pData = image + pDataAt(shapes);
    out.pSize = shapes.pTokenSize;
    // Slots we do not fill point at the BIT, whose first byte no table has.
    for (std::uint32_t slot = 0; slot + 4 <= shapes.pTokenSize; slot += 4)
        w.u32(out.pData + slot, bitAt);
    w.u32(out.pData + pPerformance, starts.performance);
    w.u32(out.pData + pThermal, starts.thermal);
    w.u32(out.pData + pVoltageMap, starts.voltageMap);
    w.u32(out.pData + pPowerPolicy, starts.powerPolicy);
    w.u32(out.pData + pVoltageFrequency, starts.voltageFrequency);
    w.u32(out.pData + pVirtualPState, starts.virtualPState);
    if (starts.clockRange != 0)
        w.u32(out.pData + pClockRange, starts.clockRange);
    if (starts.cooler != 0)
        w.u32(out.pData + pCooler, starts.cooler);

    const TableStarts& t = out.tables;
    writeTables(w, spec, shapes, t);

    StructuredFields& f = out.fields;
    f = placeFields(t, shapes, c);
    f.at.checksumWriteOffset = f.at.checksumReadOffset = image + legacy - 1;
    f.versionText = image + versionStringAt + versionPrefixLength;
    f.boardText = image + boardTextAt;
    f.dateText = image + dateAt;
    f.vendorId = out.pcir + 0x04;
    f.deviceId = out.pcir + 0x06;
    f.checksumStart = image;

    // Each value where its table holds it; a field the tables leave out is
    // written nowhere.
    const auto put16 = [&](std::uint32_t at, std::uint16_t value) { if (at != 0) w.u16(at, value); };
    const auto put32 = [&](std::uint32_t at, std::uint32_t value) { if (at != 0) w.u32(at, value); };
    put16(f.at.gpuClock, v.gpuClockWord);
    put16(f.at.boostClock, v.boostClockWord);
    put16(f.at.memClock, v.memClockWord);
    put16(f.at.memClockSecond, v.memClockSecondWord.value_or(v.memClockWord));
    for (std::size_t k = 0; k < f.ladder.size(); ++k)
        put16(f.ladder[k], ladderWord(v, static_cast<long>(k)));
    put32(f.at.powerDefault, v.powerDefaultMilliwatts);
    put32(f.at.powerMax, v.powerMaxMilliwatts);
    put32(f.at.powerLimitLo, v.powerLimitLoMilliwatts);
    put32(f.at.powerLimitHi, v.powerLimitHiMilliwatts);
    if (f.at.fanMin != 0) {
        w.u8(f.at.fanMin, v.fanMin);
        w.u8(f.at.fanMax, v.fanMax);
    }
    for (std::size_t slot = 0; slot < f.at.voltage.size(); ++slot)
        put32(f.at.voltage[slot], v.voltageDwords[slot]);

    if (out.uefiOffset != 0) {
        const std::uint32_t uefi = out.uefiOffset;
        const auto uefiUnits = static_cast<std::uint16_t>(spec.uefiLength / unit);
        w.u16(uefi, 0xAA55);
        w.u16(uefi + 2, uefiUnits);
        w.u32(uefi + 4, 0x0EF1);  // the EFI image signature
        w.u16(uefi + pcirPointerAt, uefiPcirAt);
        writePcir(w, uefi + uefiPcirAt, vendor, device, uefiUnits, codeTypeUefi, lastImage);
    }

    // The checksum byte goes last: the filler around it may still change.
    const std::uint32_t checksumAt = f.at.checksumReadOffset;
    w.u8(checksumAt, 0);
    keepFillerInert(bytes, w.set(), checksumAt, image, out.uefiOffset != 0 ? out.uefiOffset : image, out.bit);
    std::uint8_t sum = 0;
    for (std::uint32_t i = image; i < checksumAt; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    bytes[checksumAt] = static_cast<std::uint8_t>(0x100 - sum + (v.correctChecksum ? 0 : 1));
    return out;
}

}  // namespace veltra::testing
