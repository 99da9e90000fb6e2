#include "songbook/song_book_html.h"

#include <vector>

#include "songbook/song_book_labels.h"
#include "midi/time_units.h"

namespace zmr {
namespace {

constexpr char kStyle[] = R"(<style>
@page { size: A4; margin: 15mm 15mm 18mm; @bottom-center { content: counter(page); font-size: 9pt; } }
@page :first { @bottom-center { content: none; } }
body { font-family: "DejaVu Sans", "Noto Sans", "Segoe UI", Arial, sans-serif; font-size: 10pt; margin: 0; color: #000; }
.title-page { text-align: center; padding-top: 30vh; break-after: page; page-break-after: always; }
.title-page .kind { font-size: 14pt; color: #555; }
.title-page h1 { font-size: 32pt; margin: 0.3em 0; }
.title-page p { font-size: 13pt; margin: 0.3em; }
section { break-before: page; page-break-before: always; }
section h2 { font-size: 16pt; margin: 0 0 8pt; }
ol { list-style: none; padding: 0; margin: 0; columns: 2; column-gap: 8mm; }
li { break-inside: avoid; page-break-inside: avoid; display: grid; grid-template-columns: 3.2em 1fr auto;
     column-gap: 0.5em; border-bottom: 0.5pt solid #ccc; padding: 2pt 0; }
.number { font-weight: bold; text-align: right; }
.title { font-weight: bold; overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
.length { font-size: 9pt; }
.first-line { grid-column: 2 / 4; font-size: 8pt; font-style: italic; color: #555;
              overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
@media screen { body { max-width: 190mm; margin: 0 auto; padding: 1em; } .title-page { padding-top: 3em; } }
</style>
)";

void appendEscaped(std::string& out, const std::string& text) {
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
}

void appendEntry(std::string& out, const SongBookEntry& song) {
    out += "<li><span class=\"number\">" + std::to_string(song.number) + "</span><span class=\"title\">";
    appendEscaped(out, song.title);
    out += "</span><span class=\"length\">" + minutesSeconds(song.lengthUnits) + "</span><span class=\"first-line\">";
    appendEscaped(out, song.firstLine);
    out += "</span></li>\n";
}

void appendSection(std::string& out, const char* heading, const SongBook& book, std::span<const size_t> order) {
    out += std::string("<section>\n<h2>") + heading + "</h2>\n<ol>\n";
    for (size_t i : order) appendEntry(out, book.songs[i]);
    out += "</ol>\n</section>\n";
}

}  // namespace

std::string songBookHtml(const SongBook& book, std::span<const size_t> byTitle) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"vi\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    appendEscaped(out, book.volumeId);
    out += std::string(" \xE2\x80\x93 ") + kSongBookHeading + "</title>\n";
    out += kStyle;
    out += "</head>\n<body>\n<div class=\"title-page\">\n<p class=\"kind\">" + std::string(kSongBookHeading) + "</p>\n<h1>";
    appendEscaped(out, book.volumeId);
    out += "</h1>\n<p>" + songCountText(book.songs.size()) + "</p>\n<p>";
    appendEscaped(out, book.date);
    out += "</p>\n</div>\n";

    appendSection(out, kByTitleHeading, book, byTitle);
    std::vector<size_t> byNumber(book.songs.size());
    for (size_t i = 0; i < byNumber.size(); ++i) byNumber[i] = i;
    appendSection(out, kByNumberHeading, book, byNumber);
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace zmr
