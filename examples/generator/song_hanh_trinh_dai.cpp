// The long one: a pop song of a little over three minutes in C major, four
// verses, choruses, a solo and a bridge, with the last choruses a tone higher
// (a new key signature) and several tempo changes. Its thousands of events
// make song records large enough for the coder to fill and reset its
// dictionary. Running status and note-ons of velocity 0 end the notes.

#include "catalogue.h"

namespace zmr::examples {

Song hanhTrinhDai() {
    Song song;
    song.fileName = "Hanh Trinh Dai.mid";
    song.title = "Hanh Trinh Dai";
    song.viqrTitle = "Ha`nh Tri`nh Da`i";
    song.division = 240;
    song.beatsPerBar = 4;
    song.key = Key{60, false};
    song.tempi = {{0, 112}, {44, 104}, {52, 112}, {76, 116}, {92, 100}};
    song.groove = Groove::Pop;
    song.instruments = Instruments{65, 4, 33};  // alto sax, electric piano, fingered bass
    song.encoding = LyricEncoding::Viqr;
    song.lineBreak = LineBreak::EndOfSyllable;
    song.runningStatus = true;
    song.seed = 66;

    const std::string verseChords = "1 5 6 4 1 5 4,5 1";
    const std::string verseMelody =
        "3:2 3 5 6:2 5:2 | 7,:2 2:4 r:2 | 1:2 1 3 6:2 5:2 | 4:2 6:4 r:2 |"
        " 5:2 5 6 5:2 3:2 | 2:2 5,:4 r:2 | 4 4 6 1' 7:2 5:2 | 2:2 1:4 r:2";
    const std::string chorusChords = "4 5 3 6 4 5 1 5,1";
    const std::string chorusMelody =
        "1':2 1' 1' 6:2 4:2 | 5:6 r:2 | 5 5 7 5 3:2 5:2 | 6:6 r:2 |"
        " 1':2 6 1' 2':2 1':2 | 7:6 r:2 | 5 5 6 5 3:2 2:2 | 2:2 1:4 r:2";
    const std::string chorusA =
        "Ha`nh tri`nh da`i o*i ddi ma~i / Qua bao na('ng mu*a va^~n ye^u ddo*`i /"
        " Tim to^i ha't vang tu*`ng nga`y / Ba.n be` o*i ha~y cu`ng nhau ddi to*'i";
    const std::string chorusB =
        "Ha`nh tri`nh da`i ta ddi qua / Hoa tu*o*i no? kha('p tre^n lo^'i ve^` /"
        " Que^ nha` ddo'n ta tro*? ve^` / Nie^`m vui ba^y gio*` ma~i ma~i trong tim";

    song.sections = {
        {"Intro", "1 6 4 5", "5:2 3 5 1':4 | 6:2 5 3 6:4 | 4:2 6 1' 6:4 | 5:2 7, 2 5:4", "", -8, 0},
        {"Verse 1", verseChords, verseMelody,
         "Sa'ng nay to^i ddi tre^n ddu*o*`ng xa / Ba^`u tro*`i xanh nga('t ma^y tra('ng bay /"
         " Ba`n cha^n ddi qua bao nhie^u la`ng / Mang theo lo*`i ha't cu?a ngu*o*`i me. hie^`n",
         -6, 0},
        {"Chorus 1", chorusChords, chorusMelody, chorusA, 4, 0},
        {"Verse 2", verseChords, verseMelody,
         "Tru*a ve^` ngang qua ca'nh ru*`ng tre / Tie^'ng chim vang vang tre^n ngo.n ca^y /"
         " Do`ng so^ng que^ ta cha?y ra bie^?n / Nhu* lo`ng to^i ma~i nho*' ve^` no*i a^'y",
         -4, 0},
        {"Chorus 2", chorusChords, chorusMelody, chorusA, 6, 0},
        {"Solo", verseChords,
         "5 6 5 3 1:2 3:2 | 2 3 2 7, 5,:4 | 6, 1 3 6 5:2 3:2 | 4 6 1' 6 4:4 |"
         " 5 3 5 1' 7:2 5:2 | 2 4 5 7 2':4 | 1' 6 4 6 5 7 2' 7 | 1':8",
         "", 2, 0},
        {"Bridge", "6 3 4 1 6 3 2 5",
         "6:2 6 1' 3':2 2':2 | 7:2 5:4 r:2 | 4:2 4 6 1':2 6:2 | 5:2 3:4 r:2 |"
         " 6:2 1' 6 5:2 3:2 | 5:2 7,:4 r:2 | 2:2 4 6 6:2 4:2 | 5:2 2:4 r:2",
         "Co' khi mo^.t mi`nh gio*~a mu*a gio' / Co' khi mo^.t mi`nh gio*~a dde^m sa^u /"
         " Nhu*ng lo`ng va^~n sa'ng nhu* a'nh dde`n / Soi ddu*o*`ng ta ddi ma~i ve^` sau",
         -2, 0},
        {"Verse 3", verseChords, verseMelody,
         "Chie^`u buo^ng tre^n nhu*~ng ddo^`i nu'i cao / Ma^y tro^i ve^` no*i cuo^'i cha^n tro*`i /"
         " Nghe gio' ru e^m ca^u ha't xu*a / To^i bu*o*'c tie^'p ddi tre^n con ddu*o*`ng da`i",
         -4, 0},
        {"Chorus 3", chorusChords, chorusMelody, chorusA, 6, 0},
        {"Verse 4", verseChords, verseMelody,
         "Dde^m sang ngo^i sao sa'ng lung linh / Tra(ng soi lo^'i nho? ddu*a ngu*o*`i ve^` /"
         " Xa xa ngo.n dde`n cu?a nha` ai / Kia ma'i nha` xu*a me. ddang ddo*.i cho*`",
         -2, 0},
        {"Chorus 4", chorusChords, chorusMelody, chorusA, 8, 2},
        {"Last chorus", chorusChords, chorusMelody, chorusB, 10, 2},
        {"Outro", "4 5 1 1", "1':2 6 4 5:4 | 7,:2 2 5 2:4 | 3:2 2 1 3:4 | 1:8", "", 0, 2},
    };
    return song;
}

}  // namespace zmr::examples
