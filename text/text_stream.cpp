#include "text/text_stream.h"

#include "text/viqr_spelling.h"

namespace zmr {

namespace {

// Passed to the player as they are: the first lines of every song's text.
constexpr std::string_view kFirstTemplate = "H0002\r@@00@13\r@";
constexpr std::string_view kSecondTemplate = "@\r@@";
// VIQR, transcoded like the title.
constexpr std::string_view kFixedText = "Kho^ng bie^'t\r";

constexpr uint8_t kCarriageReturn = 13;
constexpr uint8_t kLineFeed = 10;
constexpr uint8_t kTab = 9;

// The song list shows at most 62 title bytes, leaving room for the tab and a
// terminating zero in the 64-byte name buffer.
constexpr int32_t kTitleNameLimit = 62;
constexpr int32_t kNameBufferLast = 63;
// Lyric bytes enter the name buffer only below this fill.
constexpr int32_t kLyricNameLimit = 60;
// Lyric events this long or longer are not shown, only named.
constexpr size_t kShownLyricLimit = 16;

}  // namespace

std::string_view songTitle(std::string_view path) {
    const size_t separator = path.find_last_of("/\\");
    const size_t start = separator == std::string_view::npos ? 0 : separator + 1;
    const size_t name = path.size() - start;
    return name <= 4 ? std::string_view{} : path.substr(start, name - 4);
}

void TextStream::putTextRecord(uint8_t code, uint32_t time) {
    buffer_.push_back(code);
    buffer_.push_back(code == kCarriageReturn ? kLineFeed : 0);
    buffer_.push_back(static_cast<uint8_t>(time & 0xFFu));
    buffer_.push_back(static_cast<uint8_t>((time >> 8) & 0xFFu));
}

void TextStream::transcode(uint8_t byte, uint32_t time) {
    const uint8_t code = transcoder_.transcodeChar(byte, reset_);
    reset_ = false;
    if (code != 0) putTextRecord(code, time);
}

void TextStream::flush(uint32_t time) { transcode(0, time); }

// A byte that stands for itself in the decoded text releases the pending code
// with this time instead of composing with it, and starts a new character.
void TextStream::transcodeDecoded(std::span<const uint8_t> bytes, TextEncoding encoding, uint32_t time) {
    const ViqrSpelling spelling = spellViqr(decodeToNfd(bytes, encoding));
    uncoded_ += spelling.uncoded;
    for (const SpelledByte& spelled : spelling.bytes) {
        const uint8_t code = spelled.startsCharacter ? transcoder_.startCharacter(spelled.byte, reset_)
                                                     : transcoder_.transcodeChar(spelled.byte, reset_);
        reset_ = false;
        if (code != 0) putTextRecord(code, time);
    }
}

void TextStream::beginTextStream(std::string_view path, NameBuffer& name,
                                 TextEncoding titleEncoding) {
    buffer_.clear();
    name_ = &name;
    uncoded_ = 0;
    for (const char c : kFirstTemplate) putTextRecord(static_cast<uint8_t>(c), 0);

    // The reset drops whatever the previous segment left pending.
    reset_ = true;
    const std::string_view title = songTitle(path);
    const auto titleBytes = std::span(reinterpret_cast<const uint8_t*>(title.data()), title.size());
    const bool decoded = isDecoded(titleEncoding);
    if (decoded) transcodeDecoded(titleBytes, titleEncoding, 0);
    for (const uint8_t byte : titleBytes) {
        if (!decoded) transcode(byte, 0);
        if (name.fill < kTitleNameLimit) name.put(byte);
    }
    transcode(kCarriageReturn, 0);
    if (name.fill < kNameBufferLast) name.put(kTab);
    flush(0);

    for (const char c : kSecondTemplate) putTextRecord(static_cast<uint8_t>(c), 0);
    reset_ = true;
    for (const char c : kFixedText) transcode(static_cast<uint8_t>(c), 0);
    flush(0);

    reset_ = true;
    lyricTime_ = 0;
}

void TextStream::addLyric(std::span<const uint8_t> bytes, int64_t timeUnits,
                          TextEncoding encoding) {
    // Records keep the low 16 bits of the time; the low 32 are carried.
    const auto time = static_cast<uint32_t>(timeUnits);
    const bool shown = bytes.size() < kShownLyricLimit;
    const bool decoding = isDecoded(encoding);
    if (shown) lyricTime_ = static_cast<int32_t>(time);
    std::vector<uint8_t> decoded;  // the event's bytes without zeros, read whole
    for (const uint8_t byte : bytes) {
        // A zero would flush the transcoder mid-word and end the song-list name.
        if (byte == 0) continue;
        if (shown && decoding) decoded.push_back(byte);
        else if (shown) transcode(byte, time);
        if (name_ != nullptr && name_->fill < kLyricNameLimit) name_->put(byte);
    }
    if (!decoded.empty()) transcodeDecoded(decoded, encoding, time);
}

uint32_t TextStream::endTextStream() {
    // Still reset when no lyric byte was transcoded: the fixed text's carriage
    // return, already written, is then dropped instead of written twice.
    flush(static_cast<uint32_t>(lyricTime_));
    putTextRecord(kCarriageReturn, 0);
    putTextRecord(kCarriageReturn, 0);
    return static_cast<uint32_t>(buffer_.size());
}

}  // namespace zmr
