// Text decoding with the Windows API: MultiByteToWideChar for the code page,
// NormalizeString for the decomposition. Debian has no ICU for MinGW, and
// Windows carries both tables itself.

#include "text/text_decoder.h"
#include "fileio/wide_text.h"

#include <windows.h>

#include <string_view>

namespace zmr {
namespace {

constexpr char32_t kQuestionMark = U'?';
constexpr UINT kWindows1258 = 1258;

// What may follow a UTF-8 lead byte: the character's length, and the range
// of its second byte (the later ones are always 80..BF). Length 0: the byte
// cannot start a character.
struct LeadByte {
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;
};

LeadByte leadByte(uint8_t lead) {
    if (lead < 0x80) return {1};
    if (lead >= 0xC2 && lead <= 0xDF) return {2};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};  // shorter forms are overlong
    if (lead == 0xED) return {3, 0x80, 0x9F};  // above are the surrogates
    if (lead >= 0xE1 && lead <= 0xEF) return {3};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};  // above is beyond U+10FFFF
    if (lead >= 0xF1 && lead <= 0xF3) return {4};
    return {};
}

// The length of the well-formed character at the start of `bytes`, or 0 with
// `badLength` set to its maximal ill-formed piece: the lead byte and the
// continuation bytes that could still have belonged to it.
size_t wellFormedLength(std::string_view bytes, size_t& badLength) {
    const LeadByte lead = leadByte(static_cast<uint8_t>(bytes[0]));
    size_t matched = 1;
    while (matched < lead.length && matched < bytes.size()) {
        const auto next = static_cast<uint8_t>(bytes[matched]);
        const uint8_t low = matched == 1 ? lead.low : 0x80, high = matched == 1 ? lead.high : 0xBF;
        if (next < low || next > high) break;
        ++matched;
    }
    if (lead.length != 0 && matched == lead.length) return matched;
    badLength = matched;
    return 0;
}

// UTF-8 to UTF-16, each maximal ill-formed piece becoming one '?', as the
// Unicode standard recommends and ICU does. The pieces are found here rather
// than left to the converter, whose count of them differs between systems.
std::wstring utf8ToWide(std::string_view bytes) {
    std::wstring wide;
    size_t start = 0, i = 0;
    while (i < bytes.size()) {
        size_t badLength = 0;
        const size_t length = wellFormedLength(bytes.substr(i), badLength);
        if (length != 0) {
            i += length;
            continue;
        }
        wide += wideFromCodePage(bytes.substr(start, i - start), CP_UTF8);
        wide += static_cast<wchar_t>(kQuestionMark);
        i += badLength;
        start = i;
    }
    return wide + wideFromCodePage(bytes.substr(start), CP_UTF8);
}

// Every byte of code page 1258 stands for a character (those it leaves
// undefined become the C1 control of the same number), so nothing is invalid.
std::wstring windows1258ToWide(std::string_view bytes) { return wideFromCodePage(bytes, kWindows1258); }

std::wstring normalizeToNfd(const std::wstring& text) {
    if (text.empty()) return text;
    const int size = static_cast<int>(text.size());
    int estimate = NormalizeString(NormalizationD, text.data(), size, nullptr, 0);
    // The estimate can fall short; the call then says how much it needs.
    for (int attempt = 0; estimate > 0 && attempt < 8; ++attempt) {
        std::wstring out(static_cast<size_t>(estimate), L'\0');
        const int length = NormalizeString(NormalizationD, text.data(), size, out.data(), estimate);
        if (length > 0) {
            out.resize(static_cast<size_t>(length));
            return out;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        estimate = -length;
    }
    // Text that the system will not normalize (a noncharacter, say) is kept as
    // it is rather than lost.
    return text;
}

std::u32string toCodePoints(const std::wstring& text) {
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = static_cast<char16_t>(text[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        // The converter writes no lone surrogate; should one come, it is not a character.
        out.push_back(unit >= 0xD800 && unit <= 0xDFFF ? kQuestionMark : unit);
    }
    return out;
}

}  // namespace

std::u32string decodeToNfd(std::span<const uint8_t> bytes, SourceEncoding encoding) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::wstring wide = encoding == SourceEncoding::Utf8 ? utf8ToWide(text) : windows1258ToWide(text);
    return toCodePoints(normalizeToNfd(wide));
}

}  // namespace zmr
