#pragma once
// A small result type for the core: either a value or the message of what went
// wrong. The core never throws across its boundary and never prints; the
// command line and the dialog decide how a message reaches the user.

#include <string>
#include <utility>
#include <variant>

namespace zmr {

// What kind of failure it was, beside the words for the user: the command
// line picks its exit status by kind and the dialogs their box, so neither
// has to read the message to tell a full disk from a bad song.
enum class FailureKind {
    Other,            // none of the kinds below
    BadSong,          // a song that cannot be converted as it is
    UnreadableInput,  // a song, image or list that cannot be opened or read
    BadImage,         // an image or song list that is not what the player reads
    WriteFailed,      // an output that cannot be created or written
    DiskFull,         // the disk (or the chosen disc) has no room left
    Busy,             // another build holds the output folder
    Interrupted,      // stopped by a signal or by the user
    OutOfMemory,
    TooManySongs,     // more songs than one image holds
};

struct Failure {
    std::string message;
    FailureKind kind = FailureKind::Other;
};

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const std::string& message() const { return std::get<1>(state_).message; }
    const Failure& failure() const { return std::get<1>(state_); }
    FailureKind kind() const { return std::get<1>(state_).kind; }

private:
    std::variant<T, Failure> state_;
};

struct Done {};

// For operations that produce nothing but may fail.
using Status = Result<Done>;

inline Status success() { return Status(Done{}); }

}  // namespace zmr
