#pragma once
// The layout of the player's disc image around the song records: a fixed
// header, a group table of sector numbers, and one index block per 256 songs,
// each on a 2048-byte sector boundary. Every word is big-endian 32-bit.

#include <array>
#include <cstdint>

namespace zmr {

inline constexpr char kImageFileName[] = "DADEDA00.DEZ";
inline constexpr char kSongListFileName[] = "SongList.txt";

inline constexpr uint32_t kSectorSize = 2048;
inline constexpr uint32_t kImageHeaderSize = 512;
inline constexpr uint32_t kGroupTableOffset = 512;
inline constexpr uint32_t kGroupTableEntries = 384;
inline constexpr uint32_t kGroupTableSize = kGroupTableEntries * 4;  // 1536
inline constexpr uint32_t kSongsPerGroup = 256;
inline constexpr uint32_t kIndexBlockSize = 2048;  // 256 offset words, then 256 size figures
inline constexpr uint32_t kSizeFigureUnit = 1472;  // the player counts records in units of 1472 bytes
inline constexpr int32_t kMaxSongs = static_cast<int32_t>(kGroupTableEntries * kSongsPerGroup);  // 98,304
inline constexpr int64_t kMaxImageSize = 0x7FFFFFFF;  // positions are signed 32-bit

// The image header is the same for every image: 0xC221, 1, 1, 2, 1 as its
// first five words and zeros after them.
inline constexpr std::array<uint8_t, kImageHeaderSize> imageHeader() {
    std::array<uint8_t, kImageHeaderSize> header{};
    header[2] = 0xC2;
    header[3] = 0x21;
    header[7] = 0x01;
    header[11] = 0x01;
    header[15] = 0x02;
    header[19] = 0x01;
    return header;
}

}  // namespace zmr
