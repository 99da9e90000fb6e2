// A spring pop song in G major. Lyrics in VNI (written here in VIQR and
// respelt), each line ending with a carriage return after its last syllable.
// The upper-case extension shows that letter case does not matter.

#include "catalogue.h"

namespace zmr::examples {

Song muaXuanVe() {
    Song song;
    song.fileName = "Mua Xuan Ve.MID";
    song.title = "Mua Xuan Ve";
    song.division = 96;
    song.beatsPerBar = 4;
    song.key = Key{67, false};
    song.tempi = {{0, 108}, {12, 112}, {28, 96}};
    song.groove = Groove::Pop;
    song.instruments = Instruments{68, 4, 33};  // oboe, electric piano, fingered bass
    song.encoding = LyricEncoding::Vni;
    song.lineBreak = LineBreak::EndOfSyllable;
    song.seed = 33;
    const std::string chorusMelody =
        "1':2 6 1' 1':2 6:2 | 5:6 r:2 | 5 5 3 5 7:2 5:2 | 6:6 r:2 |"
        " 1':2 6 1' 2':2 1':2 | 7:6 r:2 | 5 5 3 2 1:2 2:2 | 1:6 r:2";
    const std::string chorusLyrics =
        "Xua^n o*i xua^n o*i xua^n dde^'n / Nu. cu*o*`i tu*o*i no? tre^n mo^i em /"
        " Xua^n o*i xua^n o*i xua^n ve^` / Kha('p no*i ca ha't ddo'n xua^n sang";
    song.sections = {
        {"Intro", "1 6 4 5", "5:2 3 5 1':4 | 6:2 5 3 6:4 | 4:2 6 1' 6:4 | 5:8", "", -6, 0},
        {"Verse",
         "1 6 4 5 1 6 2,5 1",
         "5:2 3 5 1':2 5:2 | 6:2 3:4 r:2 | 4:2 6 1' 6:2 4:2 | 5:2 2:4 r:2 |"
         " 3 3 5 3 1:2 3:2 | 6,:4 r:4 | 2 2 4 6 5:2 7,:2 | 2:2 1:4 r:2",
         "Mu`a xua^n ve^` tre^n nhu*~ng ca'nh ddo^`ng / Chim e'n bay lu*o*.n tre^n tro*`i cao /"
         " Ha`ng ca^y ddo^i bo*` xanh la' non / Em vui ca ha't ddo'n mu`a xua^n ve^`",
         -4, 0},
        {"Chorus 1", "4 5 3 6 4 5 1 1", chorusMelody, chorusLyrics, 4, 0},
        {"Chorus 2", "4 5 3 6 4 5 1 1", chorusMelody, chorusLyrics, 8, 0},
        {"Outro", "5 1", "2:2 5, 7, 2:4 | 1:8", "", -2, 0},
    };
    return song;
}

}  // namespace zmr::examples
