// A moonlit ballad in E minor with a shakuhachi lead. A karaoke file in VNI:
// '@' headers and text events in a Words track beside the lyric events.

#include "catalogue.h"

namespace zmr::examples {

Song demTrang() {
    Song song;
    song.fileName = "Dem Trang.kar";
    song.title = "Dem Trang";
    song.division = 120;
    song.beatsPerBar = 4;
    song.key = Key{64, true};
    song.tempi = {{0, 80}, {14, 84}, {26, 72}};
    song.groove = Groove::Ballad;
    song.instruments = Instruments{77, 0, 32};  // shakuhachi, piano, acoustic bass
    song.encoding = LyricEncoding::Vni;
    song.lineBreak = LineBreak::EndOfSyllable;
    song.karaokeText = true;
    song.seed = 55;
    const std::string verseChords = "1 6 4 5 1 3 4,5+ 1";
    const std::string verseMelody =
        "5, 1 3:2 5:2 3 2 | 3:4 r:4 | 4:2 6 4 3:2 1:2 | 2:4 r:4 |"
        " 1 3 5 5 6:2 5:2 | 5:4 r:4 | 4:2 6 4 7,#:2 2:2 | 1:6 r:2";
    const std::string chorusChords = "6 7 4 5+,1";
    const std::string chorusMelody = "3:2 3 5 1':2 6:2 | 2:2 7,:4 r:2 | 6:2 4:2 1':2 6:2 | 5:3 1:5";
    const std::string chorusLyrics = "Tra(ng o*i soi sa'ng con ddu*o*`ng ve^` / Cho anh tha^'y la.i que^ nha`";
    song.sections = {
        {"Intro", "1 6", "5:2 3:2 1:4 | 3:2 1:2 6,:4", "", -8, 0},
        {"Verse 1", verseChords, verseMelody,
         "Dde^m nay tra(ng soi bo*` so^ng va('ng / Gio' ru la' tre nhe. nha`ng /"
         " Mo^.t mi`nh nghe tie^'ng ddo`n xa xa / Nho*' ve^` que^ me. nga`y xu*a",
         -4, 0},
        {"Chorus 1", chorusChords, chorusMelody, chorusLyrics, 4, 0},
        {"Verse 2", verseChords, verseMelody,
         "Tie^'ng ddo`n bay qua nhu*~ng ca'nh ddo^`ng / Gio' ddu*a hu*o*ng lu'a tho*m no^`ng /"
         " Ngu*o*`i o*i ddi xa co' nho*' cha(ng / Tra(ng xu*a va^~n sa'ng tre^n so^ng",
         -2, 0},
        {"Chorus 2", chorusChords, chorusMelody, chorusLyrics, 6, 0},
        {"Outro", "4 1", "6:2 4:2 1':4 | 5:2 3 2 1:4", "", -6, 0},
    };
    return song;
}

}  // namespace zmr::examples
