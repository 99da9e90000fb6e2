// A gentle ballad in D major: flute over a broken-chord guitar. Lyrics in VIQR,
// each line ending with a carriage return after its last syllable.

#include "catalogue.h"

namespace zmr::examples {

Song queHuong() {
    Song song;
    song.fileName = "Que Huong.mid";
    song.title = "Que Huong";
    song.viqrTitle = "Que^ Hu*o*ng";
    song.division = 480;
    song.beatsPerBar = 4;
    song.key = Key{62, false};
    song.tempi = {{0, 92}, {10, 96}, {18, 84}};  // a lift for the chorus, slower to close
    song.groove = Groove::Ballad;
    song.instruments = Instruments{73, 24, 32};  // flute, nylon guitar, acoustic bass
    song.encoding = LyricEncoding::Viqr;
    song.lineBreak = LineBreak::EndOfSyllable;
    song.seed = 11;
    song.sections = {
        {"Intro", "1 5,1", "5:2 6 5 3:4 | 2:2 3 2 1:4", "", -8, 0},
        {"Verse",
         "1 4 1 5 6 4 5 1",
         "3:2 5 6 5:2 3:2 | 6:2 1':4 r:2 | 5:2 5 3 2:2 1:2 | 2:2 5,:4 r:2 |"
         " 6:2 1' 6 5:2 3:2 | 4:2 6:4 r:2 | 5 5 6 5 3:2 2:2 | 2:2 1:4 r:2",
         "Que^ hu*o*ng to^i co' con so^ng xanh / Chie^`u chie^`u gio' ma't thoa?ng qua ddo^`ng /"
         " Me. ra ddo^`ng lu'a chi'n va`ng tu*o*i / Con ngo^`i ha't ma~i khu'c ca ye^u thu*o*ng",
         -4, 0},
        {"Chorus",
         "4 5 1 6 2 5 1 1",
         "1':2 1' 6 1':2 6:2 | 5:3 2:3 r:2 | 3:2 5:2 6 5 3:2 | 6:6 r:2 |"
         " 2:2 4 6 1':2 6:2 | 5:6 r:2 | 5:2 3 2 1:2 2:2 | 1:6 r:2",
         "Vie^.t Nam o*i que^ hu*o*ng cu?a to^i / Tre xanh bo*` ao nu*o*'c trong /"
         " Du` ddi xa ma~i nho*' ve^` / Ma'i nha` xu*a ddo'n con ve^`",
         6, 0},
        {"Outro", "4 1", "6:2 5 3 2:4 | 1:8", "", -6, 0},
    };
    return song;
}

}  // namespace zmr::examples
