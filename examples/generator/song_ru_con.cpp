// A lullaby in A minor and 3/4 time, in the six-and-eight syllable verse of
// Vietnamese folk song: koto over soft strings. Lyrics in VNI, each line
// closed by a carriage-return event of its own.

#include "catalogue.h"

namespace zmr::examples {

Song ruCon() {
    Song song;
    song.fileName = "Ru Con.mid";
    song.title = "Ru Con";
    song.division = 384;
    song.beatsPerBar = 3;
    song.key = Key{69, true};
    song.tempi = {{0, 72}, {20, 70}, {36, 63}};  // slowing as the child falls asleep
    song.groove = Groove::Waltz;
    song.instruments = Instruments{107, 48, 32};  // koto, strings, acoustic bass
    song.encoding = LyricEncoding::Vni;
    song.lineBreak = LineBreak::OwnEvent;
    song.seed = 44;
    const std::string verseChords = "1 3 5+ 1 1 4 6 5+ 3 4 7 1 4 1 5+ 1";
    const std::string verseMelody =
        "1:4 3:2 | 5:4 3:2 | 2:2 3_:2 2_:2 | 1:6 |"
        " 5:4 6:2 | 1':3 6 5:2 | 3:4 2:2 | 5,:6 |"
        " 3:4 5:2 | 6:4 5_:2 | 3:4 2:2 | 1:6 |"
        " 1':4 6:2 | 5:3 6 5:2 | 2:4 3:2 | 1:6";
    song.sections = {
        {"Intro", "1 3 5+ 1", "1:4 3:2 | 5:4 3:2 | 2:2 3:2 2:2 | 1:6", "", -10, 0},
        {"Verse 1", verseChords, verseMelody,
         "A` o*i con ngu? cho ngoan / Tra(ng va`ng soi sa'ng dde^m ye^n be^n the^`m /"
         " Gio' ve^` ma't ca? vo`ng e^m / Me. ngo^`i ru ma~i ca? dde^m cho con",
         -4, 0},
        {"Verse 2", verseChords, verseMelody,
         "A` o*i con nho? ngu? say / Mai sau kho^n lo*'n tu*`ng nga`y ye^u thu*o*ng /"
         " Ru con tie^'ng ha't ngo.t nga`o / Ngu? ngoan con nhe' me. ye^u con nhie^`u",
         -6, 0},
        {"Outro", "4 1 5+ 1", "1':4 6:2 | 5:6 | 2:4 3:2 | 1:6", "", -12, 0},
    };
    return song;
}

}  // namespace zmr::examples
