#include "text/transcoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zmr {
namespace {

// Feeds the bytes (reset on the first one), then flushes; returns every code
// emitted, in order.
std::vector<uint8_t> transcodeAll(Transcoder& transcoder, const std::vector<uint8_t>& input) {
    std::vector<uint8_t> out;
    bool reset = true;
    for (const uint8_t byte : input) {
        if (const uint8_t code = transcoder.transcodeChar(byte, reset); code != 0) out.push_back(code);
        reset = false;
    }
    if (const uint8_t code = transcoder.transcodeChar(0, reset); code != 0) out.push_back(code);
    return out;
}

struct TranscodeCase {
    std::string name;
    std::vector<uint8_t> input;
    std::vector<uint8_t> expected;
};

TEST(Transcoder, ComposesAndReleasesAsThePlayerExpects) {
    const std::vector<TranscodeCase> cases = {
        {"VIQR Viet", {86, 105, 101, 94, 46, 116}, {86, 105, 172, 116}},
        {"VNI Viet", {86, 105, 101, 228, 116}, {86, 105, 172, 116}},
        {"A circumflex acute", {65, 94, 39}, {128}},
        {"a circumflex acute", {97, 94, 39}, {227}},
        {"A then remapped 198", {65, 198}, {135}},
        {"d D does not compose", {100, 68}, {100, 68}},
        {"D D", {68, 68}, {174}},
        {"D d", {68, 100}, {174}},
        {"d d", {100, 100}, {173}},
        {"second apostrophe passes", {97, 39, 39}, {160, 39}},
        {"lone mark held and released", {94}, {94}},
        {"95 passes unchanged", {95}, {95}},
        {"VNI tone after circumflex does not compose", {97, 226, 249}, {131, 249}},
        {"remapped byte alone", {212}, {252}},
        {"remapped byte is the second code", {65, 205}, {65, 190}},
        {"composed code is not remapped", {111, 42, 120}, {243, 120}},
        {"the same byte as input is remapped", {243, 120}, {170, 120}},
        {"O horn with VIQR tone", {79, 42, 39}, {205}},
        {"VIQR A breve with tone yields O horn code", {65, 40, 46}, {209}},
        {"VNI O horn single byte with tone", {212, 207}, {209}},
        {"VNI capital Y dot below", {89, 207}, {242}},
        {"VIQR capital Y tilde does not compose", {89, 126}, {89, 126}},
        {"plain ASCII", {'H', 'e', 'l', 'l', 'o', ' ', '1'}, {'H', 'e', 'l', 'l', 'o', ' ', '1'}},
    };
    for (const TranscodeCase& c : cases) {
        Transcoder transcoder;
        EXPECT_EQ(transcodeAll(transcoder, c.input), c.expected) << c.name;
    }
}

TEST(Transcoder, HoldsEachLetterUntilTheNextByte) {
    Transcoder transcoder;
    EXPECT_EQ(transcoder.transcodeChar('a', true), 0);
    EXPECT_EQ(transcoder.pendingCode(), 'a');
    EXPECT_EQ(transcoder.transcodeChar('^', false), 0);
    EXPECT_EQ(transcoder.pendingCode(), 131);
    EXPECT_EQ(transcoder.transcodeChar('x', false), 131);
    EXPECT_EQ(transcoder.pendingCode(), 'x');
}

TEST(Transcoder, FlushKeepsThePendingCodeAndResetForgetsIt) {
    Transcoder transcoder;
    EXPECT_EQ(transcoder.transcodeChar(120, false), 0);
    EXPECT_EQ(transcoder.transcodeChar(0, false), 120);
    EXPECT_EQ(transcoder.transcodeChar(0, false), 120);
    EXPECT_EQ(transcoder.transcodeChar(0, true), 0);
    EXPECT_EQ(transcoder.pendingCode(), 0);
}

TEST(Transcoder, NextByteAfterFlushReleasesThePendingCodeAgain) {
    Transcoder transcoder;
    transcoder.transcodeChar('x', false);
    EXPECT_EQ(transcoder.transcodeChar(0, false), 'x');
    EXPECT_EQ(transcoder.transcodeChar('y', false), 'x');
}

TEST(Transcoder, ResetDropsPendingBeforeComposing) {
    Transcoder transcoder;
    transcoder.transcodeChar('a', false);
    // Without the reset, a and ' would compose.
    EXPECT_EQ(transcoder.transcodeChar('\'', true), 0);
    EXPECT_EQ(transcoder.pendingCode(), '\'');
}

TEST(Transcoder, TranscodersKeepTheirOwnPendingCode) {
    Transcoder first;
    Transcoder second;
    first.transcodeChar('a', true);
    second.transcodeChar('b', true);
    EXPECT_EQ(first.transcodeChar(0, false), 'a');
    EXPECT_EQ(second.transcodeChar(0, false), 'b');
}

TEST(RemapSingleByte, ReplacesTheSixteenVniLetters) {
    const std::vector<std::pair<uint8_t, uint8_t>> remaps = {
        {198, 192}, {204, 191}, {205, 190}, {209, 174}, {210, 194}, {211, 193}, {212, 252}, {214, 251},
        {230, 169}, {236, 141}, {237, 161}, {241, 173}, {242, 171}, {243, 170}, {244, 243}, {246, 159},
    };
    int changed = 0;
    for (int byte = 0; byte < 256; ++byte) {
        if (remapSingleByte(static_cast<uint8_t>(byte)) != byte) ++changed;
    }
    EXPECT_EQ(changed, 16);
    for (const auto& [from, to] : remaps) EXPECT_EQ(remapSingleByte(from), to) << int{from};
}

}  // namespace
}  // namespace zmr
