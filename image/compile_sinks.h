#pragma once
// What a compilation needs of whoever drives it: the command line and the
// dialog each implement these.

#include <cstdint>
#include <string>
#include <string_view>

namespace zmr {

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

// Where a compilation stands; each front-end words it its own way (the
// dialogs in their window titles).
enum class CompileState { Compiling, Done };

class StateSink {
public:
    virtual ~StateSink() = default;
    // Compiling once the files are begun; Done at the end, also when the
    // compilation ended early or failed.
    virtual void stateChanged(CompileState state) = 0;
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
