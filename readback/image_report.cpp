#include "readback/image_report.h"

#include "midi/time_units.h"
#include "text/code_page_inverse.h"
#include "text/shown_text.h"

namespace zmr {
namespace {

using std::to_string;

std::string plural(size_t count, const char* noun) { return to_string(count) + " " + noun + (count == 1 ? "" : "s"); }

std::string problemLine(const ImageProblem& p) {
    const std::string where = p.song != 0 ? "song " + to_string(p.song) + ", byte " : "byte ";
    return where + to_string(p.offset) + ": " + shownText(p.message) + "\n";
}

}  // namespace

std::string layoutStopMessage(const std::string& path, const ImageIndex& scan) {
    const ImageProblem& stop = scan.problems.back();  // the scan stops at the problem it cannot pass
    return shownText(path) + ": cannot find every song: byte " + to_string(stop.offset) + ": " +
           (stop.song != 0 ? "song " + to_string(stop.song) + ": " : std::string()) + shownText(stop.message) +
           " (zmrimage verify tells more)";
}

std::string noSuchSongMessage(const std::string& path, size_t songs, int64_t number) {
    if (songs == 0) return shownText(path) + " holds no song";
    return shownText(path) + " holds songs 1 to " + to_string(songs) + "; there is no song " + to_string(number);
}

std::string textSectionMessage(int32_t song, const std::string& why) {
    return "song " + to_string(song) + ", text section: " + shownText(why);
}

std::string textHeaderMessage(int32_t song, const TextStreamParts& text) {
    return "song " + to_string(song) + ": " +
           (text.problems.empty() ? std::string("no text header") : shownText(text.problems.back().message));
}

std::string lyricListing(const TextStreamParts& text) {
    std::string out = "Title: " + shownText(codesToUtf8(text.titleCodes)) + "\n";
    for (const LyricLine& line : lyricLines(text.lyrics())) {
        out += minutesSecondsCentis(line.time) + "  " + shownText(codesToUtf8(line.codes)) + "\n";
    }
    return out;
}

std::string verifyReport(const std::string& imagePath, const ImageVerification& report, const std::string& songListPath,
                         std::span<const SongListProblem> listProblems) {
    std::string out;
    for (const ImageProblem& p : report.problems) out += problemLine(p);
    if (!report.scan.complete) out += "the layout breaks off here: songs after it cannot be found\n";
    for (const SongListProblem& p : listProblems) {
        out += shownText(songListPath) + " line " + to_string(p.line) + ": " + shownText(p.message) + "\n";
    }
    if (report.scan.failedSong) {
        out += "note: entry " + to_string(report.scan.failedSong->entryNumber) +
               " holds the offset word that a song which failed to compile leaves behind (byte " +
               to_string(report.scan.failedSong->wordOffset) + "); accepted\n";
    }
    const size_t songs = report.scan.songs.size();
    if (report.sound() && listProblems.empty()) {
        out += shownText(imagePath) + ": sound, " + plural(songs, "song") + " in " + plural(report.scan.groupCount, "group") + "\n";
    } else {
        out += shownText(imagePath) + ": NOT sound, " + plural(report.problems.size() + listProblems.size(), "problem") +
               " (" + plural(songs, "song") + " found)\n";
    }
    return out;
}

}  // namespace zmr
