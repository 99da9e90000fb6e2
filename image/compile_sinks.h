#pragma once
// What a compilation needs of whoever drives it: the command line and the
// dialog each implement these.

#include <cstdint>
#include <string>
#include <string_view>

namespace zmr {

inline constexpr char kTitleCompiling[] = "ZMR Disc Image Tool - Compiling...";
inline constexpr char kTitleDone[] = "ZMR Disc Image Tool - Done";

// The ordered list of song paths.
class SongSource {
public:
    virtual ~SongSource() = default;
    virtual int32_t count() const = 0;
    virtual std::string path(int32_t index) const = 0;
};

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setRange(int32_t low, int32_t high) = 0;
    virtual void setPosition(int32_t position) = 0;
    // Before song `index` (from 0) of `count` is converted.
    virtual void songStarted(int32_t /*index*/, int32_t /*count*/, std::string_view /*path*/) {}
};

class TitleSink {
public:
    virtual ~TitleSink() = default;
    virtual void setTitle(std::string_view title) = 0;
};

// A song that could not be converted, with the message for the user.
class SongMessageSink {
public:
    virtual ~SongMessageSink() = default;
    virtual void songFailed(std::string_view path, std::string_view message) = 0;
    // A song that was written, with something the user should know about it.
    virtual void songWarning(std::string_view /*path*/, std::string_view /*message*/) {}
    // About the output folder rather than a song, in one line that names it:
    // what a stopped build had left there and what became of it, or what the
    // placing of the files left behind.
    virtual void folderNotice(std::string_view /*message*/) {}
};

}  // namespace zmr
