#include "playback/playback_time.h"

#include <cstdio>

namespace zmr {
namespace {

// Digits only, at most `limit` of them; nothing for an empty or longer run.
std::optional<int64_t> digits(std::string_view text, size_t limit) {
    if (text.empty() || text.size() > limit) return std::nullopt;
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::string minutesSecondsOf(PlaybackTime time) {
    const int64_t seconds = time.count() < 0 ? 0 : time.count() / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

std::optional<PlaybackTime> parsePlaybackTime(std::string_view text) {
    int64_t millis = 0;
    if (const size_t dot = text.find('.'); dot != std::string_view::npos) {
        const std::string_view fraction = text.substr(dot + 1);
        const std::optional<int64_t> value = digits(fraction, 3);
        if (!value) return std::nullopt;
        millis = *value;
        for (size_t i = fraction.size(); i < 3; ++i) millis *= 10;
        text = text.substr(0, dot);
    }
    std::optional<int64_t> minutes = 0;
    std::optional<int64_t> seconds;
    if (const size_t colon = text.find(':'); colon != std::string_view::npos) {
        minutes = digits(text.substr(0, colon), 4);
        const std::string_view rest = text.substr(colon + 1);
        seconds = rest.size() == 2 ? digits(rest, 2) : std::nullopt;  // MM:SS, not MM:S
        if (seconds && *seconds >= 60) return std::nullopt;
    } else {
        seconds = digits(text, 5);
    }
    if (!minutes || !seconds) return std::nullopt;
    return PlaybackTime((*minutes * 60 + *seconds) * 1000 + millis);
}

}  // namespace zmr
