#pragma once
// Windows speaks UTF-16 ("wide" text) in its own functions: file names, the
// dialog's controls, code-page conversion, normalisation and collation. These
// convert the program's 8-bit text to and from it; elsewhere they are not
// needed.

#ifdef _WIN32
#include <string>
#include <string_view>

namespace zmr {

// `bytes` in the code page `codePage` (CP_UTF8: 65001) as UTF-16; what the
// code page cannot read becomes U+FFFD.
std::wstring wideFromCodePage(std::string_view bytes, unsigned codePage);
std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

}  // namespace zmr
#endif
