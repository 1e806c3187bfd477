// load -> commit -> save -> load, in memory: whenever the first load succeeds
// and its values pass the save rules, the encoded image loads again with the
// same values, and only the bytes the editor owns have changed.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/temp_dir.h"

namespace veltra::fuzz {
namespace {

// The bytes a save may write: the present fields' and the checksum byte. An
// absent field lies nowhere, and a save that wrote it would show here.
std::vector<std::pair<std::uint32_t, std::uint32_t>> writtenSpans(const BiosInfo& info)
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans = {{info.checksumWriteOffset, 1}};
    const auto add = [&](const auto& field, std::uint32_t width) {
        if (field.present)
            spans.emplace_back(field.offset, width);
    };
    for (const auto* fan : {&info.fanMin, &info.fanMax})
        add(*fan, 1);
    for (const auto* clock : {&info.gpuClock, &info.boostClock, static_cast<const FieldLoc<float>*>(&info.memClock)})
        add(*clock, 2);
    if (info.memClock.present && info.memClock.secondOffset != 0)
        spans.emplace_back(info.memClock.secondOffset, 2);
    for (const auto* power : {&info.powerDefault, &info.powerMax, &info.powerLimitLo, &info.powerLimitHi})
        add(*power, 4);
    for (const auto& entry : info.boostTable)
        add(entry, 2);
    for (const auto& slot : info.voltage)
        add(slot, 4);
    return spans;
}

}  // namespace

int roundTripTarget(const std::uint8_t* data, std::size_t size)
{
    testing::MessageRecorder recorder;
    BiosInfo info;
    if (!loadRomBytes(data, size, info))
        return 0;
    PageValues values = pageValuesFrom(info);
    if (commitPageValues(values, info, {}) != nullptr)
        return 0;
    recorder.clear();

    // What saveRomFile writes: the encoded image's first loadedLength bytes.
    static RomImage encoded;
    encodeImage(info, encoded);
    check(encoded.loadedLength == size, "the saved file has the loaded length");
    BiosInfo reloaded;
    check(loadRomBytes(encoded.bytes.data(), size, reloaded), "a saved file loads again");
    check(recorder.messages().empty(), "encoding and reloading report nothing");

    // What a save changes beyond the values: every voltage slot takes slot
    // 0's value, and the checksum byte (when inside the file) becomes valid.
    BiosInfo expected = info;
    for (auto& slot : expected.voltage)
        slot.value = expected.voltage[0].value;
    // A checksum byte past the end of the file is not saved, and the sum then
    // covers encoded words that did not reach the file either.
    if (expected.checksumReadOffset < size) {
        expected.checksumStored = expected.checksumComputed = reloaded.checksumComputed;
        check(reloaded.checksumStored == reloaded.checksumComputed, "a saved image has a valid checksum byte");
    } else {
        expected.checksumStored = 0;
        expected.checksumComputed = reloaded.checksumComputed;
    }
    check(reloaded == expected, "the reload decodes what was saved");

    // The input with the located fields' bytes taken from the encoded image
    // must be the encoded image: nothing else changed.
    std::vector<std::uint8_t> allowed(data, data + size);
    for (const auto& [offset, width] : writtenSpans(info))
        for (std::uint32_t i = offset; i < offset + width && i < size; ++i)
            allowed[i] = encoded.bytes[i];
    check(std::memcmp(allowed.data(), encoded.bytes.data(), size) == 0,
          "a save changes only the bytes of present fields");
    return 0;
}

}  // namespace veltra::fuzz

VELTRA_FUZZ_ENTRY(roundTripTarget)
