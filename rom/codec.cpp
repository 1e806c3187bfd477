#include "codec.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "board.h"
#include "message.h"

namespace veltra {
namespace {

constexpr std::uint16_t memClockBias = 16384;  // 0x4000
// A memory clock word of the image's own tables: the clock in the low 14
// bits, flags above.
constexpr std::uint16_t memClockFlags = 0xC000;
constexpr std::uint32_t milliPerWatt = 1000;
constexpr std::uint32_t voltageScaleLow = 1000;     // slots 0-3
constexpr std::uint32_t voltageScaleHigh = 10000;   // slots 4-5
constexpr std::size_t firstHighVoltageSlot = 4;

std::uint32_t voltageScale(std::size_t slot)
{
    return slot < firstHighVoltageSlot ? voltageScaleLow : voltageScaleHigh;
}

// Truncation toward zero of a single-precision value into the low 16 bits of
// a 32-bit integer. Values outside the 32-bit range cannot pass the save
// rules; they are clamped here only so that the conversion stays defined.
std::uint16_t truncateToWord(float value)
{
    if (!(value > -2147483648.0f))
        return 0;
    if (value >= 2147483648.0f)
        return 0xFFFF;
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
}

void decodeText(const RomImage& image, TextLoc& text, std::uint32_t length)
{
    text.text.fill(0);
    std::copy_n(image.bytes.begin() + text.offset, length, text.text.begin());
}

}  // namespace

std::string TextLoc::shown() const
{
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    return std::string(text.begin(), end);
}

float decodeClockWord(std::uint16_t word)
{
    return static_cast<float>(word * 0.5);
}

float decodeMemClockWord(std::uint16_t word)
{
    return static_cast<float>((static_cast<int>(word) - memClockBias) * 0.5);
}

std::uint16_t encodeClockWord(float mhz)
{
    return truncateToWord(mhz * 2.0f);
}

std::uint16_t encodeMemClockWord(float mhz)
{
    // Both steps in single precision: between 16384 and 32768 a float is
    // spaced 1/512 apart, so a sum just below a whole number rounds up to it.
    const float sum = mhz * 2.0f + static_cast<float>(memClockBias);
    return truncateToWord(sum);
}

void decodeTexts(const RomImage& image, BiosInfo& info)
{
    decodeText(image, info.versionText, versionTextLength);
    decodeText(image, info.boardText, boardTextLength);
    decodeText(image, info.dateText, dateTextLength);
}

float decodeMemClock(std::uint16_t word, MemClockCoding coding)
{
    switch (coding) {
    case MemClockCoding::Biased:
        return decodeMemClockWord(word);
    case MemClockCoding::HalfMhz:
        return decodeClockWord(static_cast<std::uint16_t>(word & ~memClockFlags));
    case MemClockCoding::Mhz:
        return static_cast<float>(word & ~memClockFlags);
    }
    return 0;
}

std::uint16_t encodeMemClock(float mhz, MemClockCoding coding, std::uint16_t stored)
{
    const auto flagsKept = [stored](std::uint16_t word) {
        return static_cast<std::uint16_t>((stored & memClockFlags) | (word & ~memClockFlags));
    };
    switch (coding) {
    case MemClockCoding::Biased:
        return encodeMemClockWord(mhz);
    case MemClockCoding::HalfMhz:
        return flagsKept(encodeClockWord(mhz));
    case MemClockCoding::Mhz:
        return flagsKept(truncateToWord(mhz));
    }
    return stored;
}

void decodeClocks(const RomImage& image, BiosInfo& info)
{
    if (info.gpuClock.present)
        info.gpuClock.value = decodeClockWord(image.readU16(info.gpuClock.offset));
    if (info.boostClock.present)
        info.boostClock.value = decodeClockWord(image.readU16(info.boostClock.offset));
    if (info.memClock.present)
        info.memClock.value = decodeMemClock(image.readU16(info.memClock.offset), info.memClock.coding);
}

void decodeBoostTable(const RomImage& image, BiosInfo& info)
{
    for (FieldLoc<float>& entry : info.boostTable)
        entry.value = decodeClockWord(image.readU16(entry.offset));
}

void decodePower(const RomImage& image, BiosInfo& info)
{
    for (FieldLoc<std::uint32_t>* power : {&info.powerDefault, &info.powerMax, &info.powerLimitLo, &info.powerLimitHi})
        if (power->present)
            power->value = image.readU32(power->offset) / milliPerWatt;
}

void decodeFan(const RomImage& image, BiosInfo& info)
{
    for (FieldLoc<std::uint8_t>* fan : {&info.fanMin, &info.fanMax, &info.coolerFanMin, &info.coolerFanMax})
        if (fan->present)
            fan->value = image.readU8(fan->offset);
    if (info.boostLimit.present)
        info.boostLimit.value = decodeClockWord(image.readU16(info.boostLimit.offset));
}

bool decodeVoltage(const RomImage& image, BiosInfo& info)
{
    if (!info.voltage[0].present)
        return true;
    for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
        info.voltage[slot].value = image.readU32(info.voltage[slot].offset) / voltageScale(slot);
    for (std::size_t slot = 1; slot < voltageSlotCount; ++slot) {
        if (info.voltage[slot].value == info.voltage[0].value)
            continue;
        // The three boards' builds always agree: a disagreement there is a
        // damaged image. Other boards' maps may hold two different voltages,
        // and then neither is the one to edit.
        if (hasBuiltInRules(info)) {
            reportMessage("Read voltage error!");
            return false;
        }
        for (auto& each : info.voltage)
            each = absentField<std::uint32_t>();
        return true;
    }
    return true;
}

void encodeClocks(RomImage& image, const BiosInfo& info)
{
    if (info.gpuClock.present)
        image.writeU16(info.gpuClock.offset, encodeClockWord(info.gpuClock.value));
    if (info.boostClock.present)
        image.writeU16(info.boostClock.offset, encodeClockWord(info.boostClock.value));
    if (!info.memClock.present)
        return;
    const MemClockCoding coding = info.memClock.coding;
    image.writeU16(info.memClock.offset,
                   encodeMemClock(info.memClock.value, coding, image.readU16(info.memClock.offset)));
    if (info.memClock.secondOffset != 0)
        image.writeU16(info.memClock.secondOffset,
                       encodeMemClock(info.memClock.value, coding, image.readU16(info.memClock.secondOffset)));
}

void encodeBoostTable(RomImage& image, const BiosInfo& info)
{
    for (const FieldLoc<float>& entry : info.boostTable)
        image.writeU16(entry.offset, encodeClockWord(entry.value));
}

void encodePower(RomImage& image, const BiosInfo& info)
{
    // Unsigned arithmetic: wraps modulo 2^32 as the file's dword does.
    for (const FieldLoc<std::uint32_t>* power : {&info.powerDefault, &info.powerMax, &info.powerLimitLo, &info.powerLimitHi})
        if (power->present)
            image.writeU32(power->offset, power->value * milliPerWatt);
}

void encodeFan(RomImage& image, const BiosInfo& info)
{
    if (!info.fanMin.present)
        return;
    image.writeU8(info.fanMin.offset, info.fanMin.value);
    image.writeU8(info.fanMax.offset, info.fanMax.value);
}

void encodeVoltage(RomImage& image, const BiosInfo& info)
{
    if (!info.voltage[0].present)
        return;
    // Slot 0 holds the edited voltage; every slot receives it.
    const std::uint32_t millivolts = info.voltage[0].value;
    for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
        image.writeU32(info.voltage[slot].offset, millivolts * voltageScale(slot));
}

}  // namespace veltra
