// A bright New Year song in F major with a festive beat. A karaoke file: '@'
// headers and the words as text events in a Words track, beside lyric events
// in VIQR whose line breaks are carriage-return events of their own.
// Running status and note-ons of velocity 0 end the notes.

#include "catalogue.h"

namespace zmr::examples {

Song chucMungNamMoi() {
    Song song;
    song.fileName = "Chuc Mung Nam Moi.kar";
    song.title = "Chuc Mung Nam Moi";
    song.viqrTitle = "Chu'c Mu*`ng Na(m Mo*'i";
    song.division = 192;
    song.beatsPerBar = 4;
    song.key = Key{65, false};
    song.tempi = {{0, 126}, {22, 132}, {26, 120}};  // the last chorus pushes on, the ending holds back
    song.groove = Groove::Festive;
    song.instruments = Instruments{56, 0, 33};  // trumpet, piano, fingered bass
    song.encoding = LyricEncoding::Viqr;
    song.lineBreak = LineBreak::OwnEvent;
    song.karaokeText = true;
    song.runningStatus = true;
    song.seed = 22;
    const std::string verseChords = "1 6 4 5 1 4 5 1";
    const std::string verseMelody =
        "1 3 5:2 1':2 6 5 | 6:4 r:4 | 4 4 6 1' 6:2 4:2 | 5:2 2:4 r:2 |"
        " 5 5 1' 5 3:2 5:2 | 6:2 4:4 r:2 | 2 2 7, 2 5:2 2:2 | 3:2 1:4 r:2";
    const std::string chorusChords = "4 5 1 5,1";
    const std::string chorusMelody = "1':2 1':2 6:2 5:2 | 6_ 5_ 3_:2 2_:4 | 1' 1' 6 5 3:2 2:2 | 3_:2 1_:4 r:2";
    const std::string chorusLyrics = "Chu'c mu*`ng na(m mo*'i / Chu'c mu*`ng na(m mo*'i an khang";
    song.sections = {
        {"Intro", "1 5", "1' 5 6 5 3:2 1:2 | 2 3 2 1 5,:4", "", 0, 0},
        {"Verse 1", verseChords, verseMelody,
         "Xua^n ve^` vui tre^n kha('p mo.i nha` / Hoa dda`o hoa mai no? tha^.t ru.c ro*~ /"
         " Chu'c o^ng chu'c ba` so^'ng tho. tra(m tuo^?i / Chu'c cha chu'c me. vui ve? ma~i ma~i",
         -4, 0},
        {"Chorus 1", chorusChords, chorusMelody, chorusLyrics, 6, 0},
        {"Verse 2", verseChords, verseMelody,
         "Pha'o hoa ru*.c sa'ng kha('p tro*`i xa / Em tho* vui ddo'n mu*`ng tuo^?i na(m mo*'i /"
         " Chu'c anh chu'c chi. la`m a(n pha't dda.t / Chu'c ba.n chu'c em ho.c ha`nh tha^.t gio?i",
         -2, 0},
        {"Chorus 2", chorusChords, chorusMelody, chorusLyrics, 8, 0},
        {"Outro", "1 1", "1' 5 6 5 3:2 1:2 | 1:4 r:4", "", 0, 0},
    };
    return song;
}

}  // namespace zmr::examples
