#pragma once
// The record that makes placeTogether one step even when the process is
// killed in the middle of it, and the recovery that reads it.
//
// Before its first rename, placeTogether writes (and syncs) a small hidden
// journal beside the outputs, ".FIRST.journal", naming the old file it keeps
// and each new file with the output it goes to; it removes the journal last.
// Whoever next works on the folder, holding its OutputFolderLock, calls
// recoverPlacing: with a journal there, the replacement is completed when both
// new files are still there (placed or not), and the old pair is put back
// otherwise; then the hidden ".tmp" and ".old" files that the journal or this
// tool's naming of them (".NAME.xxxxxx.tmp") proves ours are removed. A
// folder that cannot be written (a burnt disc) is only looked at.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zmr {

// What placeTogether is doing; names of files in the outputs' folder.
struct PlacingRecord {
    std::filesystem::path kept;         // the old file of `earlyOutput`, kept hidden; empty when it had none
    std::filesystem::path earlyNew, earlyOutput;  // renamed first
    std::filesystem::path lateNew, lateOutput;    // renamed second
};

// ".FIRST.journal" beside `firstOutput`, the output of the image.
std::filesystem::path journalPath(const std::filesystem::path& firstOutput);
std::string journalText(const PlacingRecord& record);
// Nothing for a journal cut short (it was being written: no rename had begun).
std::optional<PlacingRecord> parseJournal(std::string_view text);

struct PlacingRecovery {
    enum class Outcome {
        Nothing,     // no journal and no leftover: the folder is as a build leaves it
        Completed,   // the new pair is in place
        PutBack,     // the old pair is back
        Cleaned,     // only leftover hidden files were removed
        LeftAsFound  // the folder cannot be written: nothing changed
    };
    Outcome outcome = Outcome::Nothing;
    // One line for the user, naming the folder; empty for Nothing.
    std::string message;
    // Something could not be removed or renamed; the message says what.
    bool warning = false;
};

// `first` and `second` are the outputs' names (the image's and the song
// list's); the caller holds the folder's lock. Never throws for a file-system
// error: what failed is in the message.
PlacingRecovery recoverPlacing(const std::filesystem::path& folder, std::string_view first, std::string_view second);

}  // namespace zmr
