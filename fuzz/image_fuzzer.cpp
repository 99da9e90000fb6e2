// An image file's bytes, as a damaged disc or a hand-edited file may hold
// them, read back the way `verify`, `list` and `extract` read them: the layout
// scan, the full verification, the song-list check (with the same bytes as the
// list), each located song's streams, each song turned back into MIDI, and its
// lyrics as play shows them and as LRC and ASS.
// Beyond not crashing: the sections of whatever the scan locates lie inside
// the image, a sound image gives every song's streams, and every song taken
// back out of an image is a MIDI file that compiles again.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_check.h"
#include "image/convert_song.h"
#include "playback/ass_file.h"
#include "playback/lrc_file.h"
#include "playback/lyric_timeline.h"
#include "readback/event_records.h"
#include "readback/image_verify.h"
#include "readback/song_extract.h"
#include "readback/song_list_check.h"
#include "readback/song_streams.h"
#include "readback/text_records.h"

namespace {

using zmr::fuzz::check;

// Decoding and extracting every song of a large image only repeats the same
// code; the scan and the verification still cover all of them.
constexpr size_t kSongsTakenBack = 16;

void takeBack(std::span<const uint8_t> image, const zmr::SongLocation& song, bool sound) {
    // Its padding may be cut off at the end of the image (a problem verify
    // reports), but the framed sections it was located by lie inside.
    check(song.framing.framedEnd() <= image.size(), "a located record's sections lie inside the image");
    check(song.recordOffset < song.framing.framedEnd(), "a located record starts before its sections end");
    auto streams = zmr::readSongStreams(image, song);
    if (sound) check(streams.ok(), "every song of a sound image gives its streams");
    if (!streams.ok()) return;
    check(streams->text.size() == song.framing.text.length, "the text stream has its stated length");
    check(streams->events.size() == song.framing.events.length, "the event stream has its stated length");

    const zmr::EventStreamParts events = zmr::readEventStream(streams->events);
    const zmr::TextStreamParts text = zmr::readTextStream(streams->text);
    (void)zmr::lyricLines(text.lyrics());
    const zmr::ExtractedSong extracted = zmr::extractSong(events.records, text.lyrics());
    auto again = zmr::convertSong("extracted.mid", extracted.midi);
    check(again.ok(), "a song taken out of an image compiles again");

    const zmr::LyricTimeline lyrics(text);
    for (const zmr::TimedLine& line : lyrics.lines()) {
        const zmr::LyricView view = lyrics.at(zmr::PlaybackTime(int64_t{line.units} * 17));
        check(view.line && view.sung <= lyrics.lines()[*view.line].characters.size(), "the view lies inside the lyrics");
    }
    (void)zmr::lrcFile(lyrics);
    (void)zmr::assFile(lyrics);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> image(data, size);
    const zmr::ImageVerification report = zmr::verifyImage(image);
    const zmr::ImageIndex& scan = report.scan;
    check(scan.imageSize == size, "the scan saw the whole image");
    check(report.titles.size() == scan.songs.size(), "one title slot per located song");
    if (report.sound()) check(scan.headerOk, "a sound image has a sound header");
    (void)zmr::checkSongList(image, report.titles);

    for (size_t i = 0; i < scan.songs.size() && i < kSongsTakenBack; ++i) takeBack(image, scan.songs[i], report.sound());
    return 0;
}
