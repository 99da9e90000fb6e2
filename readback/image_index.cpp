#include "readback/image_index.h"

#include <algorithm>

#include "base/hex_text.h"
#include "codec/byte_order.h"
#include "image/image_layout.h"

namespace zmr {
namespace {

constexpr size_t kMaxHeaderReports = 8;
constexpr uint32_t kFirstOffsetWord = kIndexBlockSize;  // records follow their index block directly

uint64_t roundUpToSector(uint64_t offset) { return (offset + kSectorSize - 1) / kSectorSize * kSectorSize; }

// The first nonzero byte in [from, to), if any.
std::optional<uint64_t> firstNonzero(std::span<const uint8_t> image, uint64_t from, uint64_t to) {
    to = std::min<uint64_t>(to, image.size());
    for (uint64_t i = from; i < to; ++i) {
        if (image[static_cast<size_t>(i)] != 0) return i;
    }
    return std::nullopt;
}

class IndexReader {
public:
    explicit IndexReader(std::span<const uint8_t> image) : image_(image) { index_.imageSize = image.size(); }

    ImageIndex run() {
        if (image_.size() < kImageHeaderSize + kGroupTableSize) {
            problem(0, image_.size(), "the image has " + std::to_string(image_.size()) +
                                          " bytes, fewer than the 2048 of its header and group table");
            index_.complete = false;
            return std::move(index_);
        }
        checkHeader();
        readGroupTable();
        if (index_.groupCount == 0) {
            if (image_.size() != kImageHeaderSize + kGroupTableSize) {
                problem(0, kImageHeaderSize + kGroupTableSize, "the group table lists no group, yet the image goes on");
            }
            return std::move(index_);
        }
        for (uint32_t g = 0; g < index_.groupCount && index_.complete; ++g) readGroup(g);
        return std::move(index_);
    }

private:
    uint32_t word(uint64_t offset) const { return loadBigEndian32(image_.data() + offset); }

    void problem(int32_t song, uint64_t offset, std::string message) {
        index_.problems.push_back(ImageProblem{song, offset, std::move(message)});
    }

    void checkHeader() {
        const auto expected = imageHeader();
        size_t wrong = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            if (image_[i] == expected[i]) continue;
            if (++wrong <= kMaxHeaderReports) {
                problem(0, i, "header byte is " + hexNumber(image_[i]) + ", expected " + hexNumber(expected[i]));
            }
        }
        if (wrong > kMaxHeaderReports) {
            problem(0, 0, std::to_string(wrong - kMaxHeaderReports) + " more header bytes differ");
        }
        index_.headerOk = wrong == 0;
    }

    // Groups are the entries before the first 0; every entry after it must be 0.
    void readGroupTable() {
        uint32_t g = 0;
        while (g < kGroupTableEntries && word(kGroupTableOffset + 4 * g) != 0) ++g;
        index_.groupCount = g;
        for (uint32_t rest = g + 1; rest < kGroupTableEntries; ++rest) {
            const uint32_t sector = word(kGroupTableOffset + 4 * rest);
            if (sector != 0) {
                problem(0, kGroupTableOffset + 4 * rest,
                        "group table entry " + std::to_string(rest) + " is " + std::to_string(sector) +
                            " after the last group (entry " + std::to_string(g) + " is 0), expected 0");
            }
        }
    }

    bool looksLikeIndexBlock(uint64_t offset) const {
        return offset % kSectorSize == 0 && offset + kIndexBlockSize <= image_.size() &&
               word(offset) == kFirstOffsetWord;
    }

    // Words that the compiler writes for every song: reserved words 0, a text
    // section that is never empty, everything within the image.
    bool looksLikeRecord(uint64_t offset) const {
        const std::optional<RecordFraming> f = readRecordFraming(image_, offset);
        return f && f->text.reserved == 0 && f->events.reserved == 0 && f->text.compressedLength > 0 &&
               f->text.length > 0;
    }

    // Where group g's index block lies: after the previous group's records
    // and their zero fill. A group table entry that says otherwise is blamed
    // when the index block is found where the records end.
    std::optional<uint64_t> findIndexBlock(uint32_t g) {
        const uint64_t entryOffset = kGroupTableOffset + 4 * g;
        const uint64_t claimed = uint64_t{word(entryOffset)} * kSectorSize;
        const uint64_t expected = g == 0 ? kImageHeaderSize + kGroupTableSize : roundUpToSector(groupEnd_);
        const std::string entryName = "group table entry " + std::to_string(g);
        if (claimed == expected && claimed + kIndexBlockSize <= image_.size()) return claimed;
        if (claimed != expected && looksLikeIndexBlock(expected)) {
            problem(0, entryOffset, entryName + " is sector " + std::to_string(claimed / kSectorSize) +
                                        ", but the group's index block is at sector " +
                                        std::to_string(expected / kSectorSize));
            return expected;
        }
        // Index blocks only ever follow the records before them.
        if (claimed != expected && claimed >= groupEnd_ && looksLikeIndexBlock(claimed)) {
            if (g == 0) {
                problem(0, entryOffset, entryName + " is " + std::to_string(claimed / kSectorSize) + ", expected 1");
            } else {
                problem(lastSong_, groupEnd_, "the record ends at byte " + std::to_string(groupEnd_) +
                                                  ", but group " + std::to_string(g) + "'s index block is at byte " +
                                                  std::to_string(claimed) + " (sector " +
                                                  std::to_string(claimed / kSectorSize) + ")");
            }
            return claimed;
        }
        problem(0, entryOffset, entryName + " is sector " + std::to_string(claimed / kSectorSize) +
                                    ": no index block there" +
                                    (claimed + kIndexBlockSize > image_.size() ? " (past the end of the image)" : ""));
        return std::nullopt;
    }

    void readGroup(uint32_t g) {
        const std::optional<uint64_t> block = findIndexBlock(g);
        if (!block) {
            index_.complete = false;
            return;
        }
        if (g > 0) checkGroupFill(*block);
        bool last = g + 1 == index_.groupCount;
        const uint32_t songs = walkGroup(g, *block, last);
        if (!index_.complete) return;
        if (!last && songs < kSongsPerGroup) {
            // The songs end with the file, so no later group can hold any.
            problem(0, kGroupTableOffset + 4 * (g + 1),
                    "group table entry " + std::to_string(g + 1) + " is " +
                        std::to_string(word(kGroupTableOffset + 4 * (g + 1))) + ", but the songs end with the file in group " +
                        std::to_string(g) + ", expected 0");
            index_.groupCount = g + 1;
            last = true;
        }
        if (last) checkEntriesPastLastSong(g, *block, songs);
    }

    // Between the previous group's last record and this index block lie only
    // zero bytes, fewer than a sector.
    void checkGroupFill(uint64_t block) {
        if (groupEnd_ > block) {
            problem(lastSong_, groupEnd_ - 1, "the record runs into the next group's index block at byte " +
                                                  std::to_string(block));
        } else if (const auto nonzero = firstNonzero(image_, groupEnd_, block)) {
            problem(lastSong_, *nonzero, "nonzero byte in the zero fill after the record");
        }
    }

    // Walks the group's records; returns how many songs it holds.
    uint32_t walkGroup(uint32_t g, uint64_t block, bool last) {
        uint64_t position = block + kIndexBlockSize;
        uint32_t k = 0;
        for (; k < kSongsPerGroup; ++k) {
            if (position >= image_.size()) break;  // the songs end with the file
            const int32_t number = static_cast<int32_t>(g * kSongsPerGroup + k + 1);
            const uint64_t wordOffset = block + 4 * k;
            const uint32_t offsetWord = word(wordOffset);
            if (block + offsetWord != position) {
                const std::optional<uint64_t> resolved = resolveOffset(number, k, block, offsetWord, position, last);
                if (!resolved) break;
                position = *resolved;
            }
            const std::optional<RecordFraming> framing = readRecordFraming(image_, position);
            if (!framing) {
                problem(number, position, "the record's framing runs past the end of the image");
                index_.complete = false;
                return k;
            }
            const uint32_t sizeFigure = word(block + kSongsPerGroup * 4 + 4 * k);
            SongLocation song{number, g, k, block, offsetWord, sizeFigure, position, framing->size(position), *framing, true};
            checkRecord(song);
            index_.songs.push_back(song);
            position += song.recordSize;
            lastSong_ = number;
        }
        groupEnd_ = position;
        if (last && k == kSongsPerGroup && position < image_.size()) {
            problem(lastSong_, position, std::to_string(image_.size() - position) +
                                             " bytes follow the last song's record");
        }
        return k;
    }

    // The offset word and the walk disagree. Believes the walk when a record
    // lies where it says (the word is wrong), else the word when a record lies
    // there (the previous record's framing is wrong). Nothing when neither.
    std::optional<uint64_t> resolveOffset(int32_t number, uint32_t k, uint64_t block, uint32_t offsetWord,
                                          uint64_t position, bool last) {
        const uint64_t wordOffset = block + 4 * k;
        const std::string expected = std::to_string(position - block);
        if (looksLikeRecord(position)) {
            problem(number, wordOffset,
                    "offset word is " + std::to_string(offsetWord) + ", but the song's record lies at " + expected +
                        (k == 0 ? " (the first record follows its index block)"
                                : " (the previous offset word plus the previous record's size)"));
            return position;
        }
        // Records only ever follow the one before them, so each is read once.
        const uint64_t earliest = k == 0 ? block + kIndexBlockSize : index_.songs.back().recordOffset + 1;
        if (block + offsetWord >= earliest && looksLikeRecord(block + offsetWord)) {
            if (k == 0) {
                problem(number, wordOffset, "offset word is " + std::to_string(offsetWord) + ", expected 2048");
            } else {
                SongLocation& previous = index_.songs.back();
                previous.framingTrusted = false;
                problem(number - 1, previous.recordOffset,
                        "the record's framing gives " + std::to_string(previous.recordSize) +
                            " bytes (24 + C_t + C_e rounded up to 16), but the next offset word puts " +
                            std::to_string(block + offsetWord - previous.recordOffset) + " bytes between them");
            }
            return block + offsetWord;
        }
        if (last && k > 0 && (offsetWord == 0 || block + offsetWord == image_.size())) {
            // The offset words say the songs have ended (perhaps with a failed
            // song's entry), yet the image goes on.
            const SongLocation& previous = index_.songs.back();
            problem(number - 1, position, "the record's framing gives " + std::to_string(previous.recordSize) +
                                              " bytes, but " + std::to_string(image_.size() - position) +
                                              " more bytes follow it that are no song record");
            return std::nullopt;
        }
        problem(number, wordOffset, "offset word is " + std::to_string(offsetWord) + ": no song record at " +
                                        std::to_string(offsetWord) + (offsetWord == 0 ? "" : " nor at " + expected));
        index_.complete = false;
        return std::nullopt;
    }

    void checkRecord(const SongLocation& song) {
        const RecordFraming& f = song.framing;
        if (f.text.reserved != 0) {
            problem(song.number, f.text.wordsOffset + 8, "reserved word of the text section is " +
                                                             std::to_string(f.text.reserved) + ", expected 0");
        }
        if (f.events.reserved != 0) {
            problem(song.number, f.events.wordsOffset + 8, "reserved word of the event section is " +
                                                               std::to_string(f.events.reserved) + ", expected 0");
        }
        const uint64_t end = song.recordOffset + song.recordSize;
        if (end > image_.size()) {
            problem(song.number, image_.size(), "the record of " + std::to_string(song.recordSize) +
                                                    " bytes runs past the end of the image");
        }
        if (const auto nonzero = firstNonzero(image_, f.framedEnd(), end)) {
            problem(song.number, *nonzero, "nonzero byte in the zero fill at the end of the record");
        }
        const uint64_t figure = song.recordSize / kSizeFigureUnit;
        if (song.sizeFigure != figure) {
            problem(song.number, song.indexBlockOffset + kSongsPerGroup * 4 + 4 * song.entry,
                    "size figure is " + std::to_string(song.sizeFigure) + ", expected " + std::to_string(figure) +
                        " (record of " + std::to_string(song.recordSize) + " bytes / 1472)");
        }
    }

    // After the last song every entry is 0, except the offset word that a
    // failed song leaves: the end of the songs, beside a size figure of 0.
    void checkEntriesPastLastSong(uint32_t g, uint64_t block, uint32_t songs) {
        for (uint32_t k = songs; k < kSongsPerGroup; ++k) {
            const int32_t number = static_cast<int32_t>(g * kSongsPerGroup + k + 1);
            const uint64_t wordOffset = block + 4 * k;
            const uint64_t figureOffset = block + kSongsPerGroup * 4 + 4 * k;
            const uint32_t offsetWord = word(wordOffset);
            const uint32_t figure = word(figureOffset);
            if (k == songs && offsetWord != 0 && block + offsetWord == groupEnd_ && groupEnd_ == image_.size()) {
                index_.failedSong = FailedSongEntry{number, wordOffset, offsetWord};
            } else if (offsetWord != 0) {
                problem(number, wordOffset, "entry past the last song holds offset word " +
                                                std::to_string(offsetWord) + ", expected 0");
            }
            if (figure != 0) {
                problem(number, figureOffset, "entry past the last song holds size figure " +
                                                  std::to_string(figure) + ", expected 0");
            }
        }
        if (songs == 0 && !index_.failedSong) {
            problem(0, block, "group " + std::to_string(g) + " holds no song");
        }
    }

    std::span<const uint8_t> image_;
    ImageIndex index_;
    uint64_t groupEnd_ = 0;  // end of the last record walked (its zero fill included)
    int32_t lastSong_ = 0;
};

}  // namespace

ImageIndex readImageIndex(std::span<const uint8_t> image) { return IndexReader(image).run(); }

}  // namespace zmr
