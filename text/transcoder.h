#pragma once
// Turns Vietnamese text in VIQR or VNI into the player's single-byte code page,
// one byte at a time with one byte of lookahead. One transcoder per song.

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/composition_table.h"

namespace zmr {

// The sixteen single VNI bytes that stand for whole letters, replaced by their
// code before the lookup; other bytes are returned unchanged.
uint8_t remapSingleByte(uint8_t byte);

class Transcoder {
public:
    explicit Transcoder(const CompositionTable& table = CompositionTable::standard()) : table_(&table) {}

    // Feeds one byte; returns the code to emit, 0 when nothing is to be emitted.
    // Byte 0 is a flush: it returns the pending code without clearing it.
    // `reset` forgets the pending code before the byte is handled.
    uint8_t transcodeChar(uint8_t byte, bool reset);

    // Feeds a byte that stands for itself (text read from Unicode): it never
    // composes with the pending code, which it releases, and becomes the
    // pending code itself. Returns what transcodeChar would: the code to emit
    // or 0. Not for byte 0.
    uint8_t startCharacter(uint8_t byte, bool reset);

    uint8_t pendingCode() const { return pending_; }

private:
    const CompositionTable* table_;
    uint8_t pending_ = 0;
};

// The codes of a whole text from a fresh start: each byte in turn (the first
// forgetting what was pending), then the flush.
std::vector<uint8_t> transcodeText(std::string_view text, const CompositionTable& table = CompositionTable::standard());

}  // namespace zmr
