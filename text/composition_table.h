#pragma once
// The composition table: which pairs of codes compose into one letter of the
// player's code page, for Vietnamese written in VIQR or VNI.

#include <array>
#include <cstdint>

namespace zmr {

class CompositionTable {
public:
    // An empty table: no pair composes.
    CompositionTable();

    // The code that (first, second) composes to, 0 when the pair does not compose.
    uint8_t compose(uint8_t first, uint8_t second) const { return entries_[first * 256u + second]; }
    void set(uint8_t first, uint8_t second, uint8_t code) { entries_[first * 256u + second] = code; }

    // The table as the player's songs are built with, built once and shared read-only.
    static const CompositionTable& standard();

private:
    std::array<uint8_t, 256 * 256> entries_;
};

// Writes every composing pair into `table`, VIQR pairs first and VNI pairs
// after them; later writes replace earlier ones (row 252 ends up holding the
// values of capital O with horn). Entries are only written, never cleared.
void buildCompositionTable(CompositionTable& table);

}  // namespace zmr
