#pragma once
// Text from outside (file names, titles, the user's own words) as a terminal
// or a message box may show it. A name can hold any byte but '/' and NUL, and
// printed raw an escape sequence in it would retitle or clear the terminal.

#include <string>
#include <string_view>

namespace zmr {

// `text` with its control characters (C0, DEL and C1) and the bytes that are
// not UTF-8 written C-style, as `ls` shows such names: \t, \n, \r, \e for
// ESC, \xHH for any other (a C1 character as its two bytes). Everything else,
// backslashes included, stays as it is.
std::string shownText(std::string_view text);

}  // namespace zmr
