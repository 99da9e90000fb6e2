#pragma once
// The song-list name of one song: its title, a tab and the first lyric bytes,
// untranscoded, as the song list shows them.

#include <array>
#include <cstdint>
#include <string>

namespace zmr {

// The name keeps at most this many bytes of the title, leaving room for the
// tab and a terminating zero in its 64 bytes: a longer title reaches the song
// list cut here.
inline constexpr int32_t kNameTitleLimit = 62;

struct NameBuffer {
    std::array<uint8_t, 64> bytes{};
    int32_t fill = 0;

    void put(uint8_t byte) { bytes[static_cast<size_t>(fill++)] = byte; }
    // The bytes before the first zero byte.
    std::string text() const;
};

}  // namespace zmr
