#pragma once
// Some of the core's messages end with a newline, as the command line has
// always printed them; front-ends that put a message on a line of their own
// take it off.

#include <string_view>

namespace zmr {

// `message` without one trailing '\n', if it has one.
constexpr std::string_view withoutTrailingNewline(std::string_view message) {
    if (!message.empty() && message.back() == '\n') message.remove_suffix(1);
    return message;
}

}  // namespace zmr
