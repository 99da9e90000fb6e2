#include "text/composition_table.h"

#include <cstddef>
#include <span>

namespace zmr {

namespace {

// One letter (or already composed letter) and the code it composes to with
// each mark of its group, in the order of the group's marks; 0 = no pair.
// Kept as plain rows so the pairs can be read back for the reverse mapping.
struct LetterRow {
    uint8_t first;
    std::array<uint8_t, 17> codes;
};

struct PairGroup {
    std::span<const uint8_t> marks;
    std::span<const LetterRow> rows;
};

// VIQR marks: acute, grave, hook above, tilde, dot below, breve, circumflex, horn.
constexpr uint8_t kViqrMarks[] = {39, 96, 63, 126, 46, 40, 94, 42};

// Row 252 appears twice: capital A with breve first, capital O with horn later.
// Both letters compose to 252, and the player's table keeps the O-with-horn
// values, so the second row must come after the first.
constexpr LetterRow kViqrRows[] = {
    {65, {95, 96, 124, 125, 126, 252, 253, 0}},     // A
    {97, {160, 133, 224, 225, 226, 232, 131, 0}},   // a
    {232, {233, 234, 235, 236, 237}},               // a with breve
    {252, {176, 177, 178, 0, 123}},                 // A with breve (replaced below)
    {253, {128, 135, 144, 144, 175}},               // A with circumflex
    {131, {227, 228, 229, 230, 231}},               // a with circumflex
    {69, {180, 181, 182, 183, 184, 0, 254, 0}},     // E
    {101, {130, 138, 129, 132, 134, 0, 136, 0}},    // e
    {254, {185, 186, 187, 188, 189}},               // E with circumflex
    {136, {137, 139, 142, 143, 172}},               // e with circumflex
    {73, {190, 191, 192, 193, 194}},                // I
    {105, {161, 141, 169, 170, 171}},               // i
    {79, {195, 196, 197, 198, 199, 0, 249, 252}},   // O
    {111, {162, 149, 145, 146, 148, 0, 147, 243}},  // o
    {249, {200, 201, 202, 203, 204}},               // O with circumflex
    {147, {150, 152, 153, 154, 155}},               // o with circumflex
    {243, {244, 245, 246, 247, 248}},               // o with horn
    {252, {205, 206, 207, 208, 209}},               // O with horn
    {85, {210, 211, 212, 213, 214, 0, 0, 251}},     // U
    {117, {163, 151, 156, 157, 158, 0, 0, 159}},    // u
    {251, {215, 216, 217, 218, 219}},               // U with horn
    {159, {164, 165, 166, 167, 168}},               // u with horn
    {89, {220, 221, 222, 0, 255}},                  // Y (no tilde pair)
    {121, {238, 239, 240, 241, 242}},               // y
};

// D with stroke: DD, Dd and dd; dD does not compose.
constexpr uint8_t kStrokeMarks[] = {68, 100};
constexpr LetterRow kStrokeRows[] = {
    {68, {174, 174}},
    {100, {0, 173}},
};

// VNI capital marks: acute, grave, hook, tilde, dot, breve, circumflex,
// circumflex + acute/grave/hook/tilde/dot, breve + acute/grave/hook/dot.
constexpr uint8_t kVniCapitalMarks[] = {217, 216, 219, 213, 207, 202, 194, 193,
                                        192, 197, 195, 196, 201, 200, 218, 203};

constexpr LetterRow kVniCapitalRows[] = {
    {65, {95, 96, 124, 125, 126, 252, 253, 128, 135, 144, 144, 175, 176, 177, 178, 123}},  // A
    {69, {180, 181, 182, 183, 184, 0, 254, 185, 186, 187, 188, 189}},                      // E
    {79, {195, 196, 197, 198, 199, 0, 249, 200, 201, 202, 203, 204}},                      // O
    {85, {210, 211, 212, 213, 214}},                                                       // U
    {89, {220, 221, 222, 255, 242}},  // Y: tilde and dot below as the player's table has them
    {251, {215, 216, 217, 218, 219}},  // U with horn (VNI byte 214)
    {252, {205, 206, 207, 208, 209}},  // O with horn (VNI byte 212)
};

// VNI small marks: acute, grave, hook, tilde, dot, breve, circumflex,
// circumflex + acute/grave/hook/tilde/dot, breve + acute/grave/hook/tilde/dot.
constexpr uint8_t kVniSmallMarks[] = {249, 248, 251, 245, 239, 234, 226, 225, 224,
                                      229, 227, 228, 233, 232, 250, 252, 235};

constexpr LetterRow kVniSmallRows[] = {
    {97, {160, 133, 224, 225, 226, 232, 131, 227, 228, 229, 230, 231, 233, 234, 235, 236, 237}},  // a
    {101, {130, 138, 129, 132, 134, 0, 136, 137, 139, 142, 143, 172}},                            // e
    {111, {162, 149, 145, 146, 148, 0, 147, 150, 152, 153, 154, 155}},                            // o
    {117, {163, 151, 156, 157, 158}},                                                             // u
    {121, {238, 239, 240, 241, 242}},                                                             // y
    {159, {164, 165, 166, 167, 168}},  // u with horn (VNI byte 246)
    {243, {244, 245, 246, 247, 248}},  // o with horn (VNI byte 244)
};

// Write order matters only where rows repeat, but is kept as the player's:
// VIQR first, VNI after.
constexpr PairGroup kGroups[] = {
    {kViqrMarks, kViqrRows},
    {kStrokeMarks, kStrokeRows},
    {kVniCapitalMarks, kVniCapitalRows},
    {kVniSmallMarks, kVniSmallRows},
};

// Every row must fit its group's marks; a code beyond them would be a typo.
constexpr bool rowsFitMarks() {
    for (const PairGroup& group : kGroups) {
        for (const LetterRow& row : group.rows) {
            for (std::size_t i = group.marks.size(); i < row.codes.size(); ++i) {
                if (row.codes[i] != 0) return false;
            }
        }
    }
    return true;
}
static_assert(rowsFitMarks());

}  // namespace

CompositionTable::CompositionTable() : entries_{} {}

void buildCompositionTable(CompositionTable& table) {
    for (const PairGroup& group : kGroups) {
        for (const LetterRow& row : group.rows) {
            for (std::size_t i = 0; i < group.marks.size(); ++i) {
                if (row.codes[i] != 0) table.set(row.first, group.marks[i], row.codes[i]);
            }
        }
    }
}

const CompositionTable& CompositionTable::standard() {
    static const CompositionTable table = [] {
        CompositionTable built;
        buildCompositionTable(built);
        return built;
    }();
    return table;
}

}  // namespace zmr
