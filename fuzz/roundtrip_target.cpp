// load -> commit -> save -> load: whenever the first load succeeds and its
// values pass the save rules, the saved file loads again with the same
// values, and only the bytes the editor owns have changed.
#include <string>

#include "fuzz/fuzz_support.h"
#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/temp_dir.h"

namespace veltra::fuzz {

int roundTripTarget(const std::uint8_t* data, std::size_t size)
{
    const auto path = writeInput("roundtrip.rom", data, size);
    testing::MessageRecorder recorder;
    BiosInfo info;
    if (!loadRomFile(path, info))
        return 0;
    PageValues values = pageValuesFrom(info);
    if (commitPageValues(values, info, {}) != nullptr)
        return 0;
    recorder.clear();

    check(saveRomFile(path, info), "a save of loaded, valid values succeeds");
    BiosInfo reloaded;
    check(loadRomFile(path, reloaded), "a saved file loads again");
    check(recorder.messages().empty(), "save and reload report nothing");

    // What a save changes beyond the values: every voltage slot takes slot
    // 0's value, and the checksum byte (when inside the file) becomes valid.
    BiosInfo expected = info;
    for (auto& slot : expected.voltage)
        slot.value = expected.voltage[0].value;
    // A checksum byte past the end of the file is not saved, and the sum then
    // covers encoded words that did not reach the file either.
    if (expected.checksumReadOffset < size) {
        expected.checksumStored = expected.checksumComputed;
    } else {
        expected.checksumStored = 0;
        expected.checksumComputed = reloaded.checksumComputed;
    }
    check(testing::dump(reloaded) == testing::dump(expected), "the reload decodes what was saved");

    const std::vector<std::uint8_t> saved = testing::readBytes(path);
    check(saved.size() == size, "the saved file has the loaded length");
    const std::vector<bool> owned = testing::ownedBytes(info);
    for (std::size_t i = 0; i < size; ++i)
        check(owned[i] || saved[i] == data[i], "a save changes only the bytes of located fields");
    return 0;
}

}  // namespace veltra::fuzz

VELTRA_FUZZ_ENTRY(roundTripTarget)
