#pragma once
// The MIDI status bytes and meta-event types this system reads and writes,
// named once: a channel message's status is its kind in the high nibble and
// the channel in the low one.

#include <cstdint>

namespace zmr::midi {

inline constexpr uint8_t kNoteOff = 0x80;
inline constexpr uint8_t kNoteOn = 0x90;
inline constexpr uint8_t kKeyPressure = 0xA0;
inline constexpr uint8_t kControlChange = 0xB0;
inline constexpr uint8_t kProgramChange = 0xC0;
inline constexpr uint8_t kChannelPressure = 0xD0;
inline constexpr uint8_t kPitchBend = 0xE0;
inline constexpr uint8_t kSysEx = 0xF0;
inline constexpr uint8_t kSysExContinued = 0xF7;
inline constexpr uint8_t kMeta = 0xFF;

// Meta-event types, the byte after kMeta.
inline constexpr uint8_t kMetaText = 0x01;
inline constexpr uint8_t kMetaLyric = 0x05;
inline constexpr uint8_t kMetaEndOfTrack = 0x2F;
inline constexpr uint8_t kMetaTempo = 0x51;

// The kind of a channel message's status, its channel taken off.
constexpr uint8_t statusKind(uint8_t status) { return status & 0xF0; }

// Program change and channel pressure carry one data byte; the other channel
// messages two.
constexpr bool hasOneDataByte(uint8_t status) {
    return statusKind(status) == kProgramChange || statusKind(status) == kChannelPressure;
}

}  // namespace zmr::midi
