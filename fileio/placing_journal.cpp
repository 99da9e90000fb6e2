#include "fileio/placing_journal.h"

#include <cctype>
#include <system_error>
#include <vector>

#include "fileio/disk_sync.h"
#include "fileio/file_bytes.h"
#include "fileio/native_path.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace zmr {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kJournalHeader = "zmrimage placing 1\n";
constexpr std::string_view kJournalEnd = "end\n";

bool present(const fs::path& file) {
    std::error_code ignored;
    return fs::symlink_status(file, ignored).type() != fs::file_type::not_found;
}

// ".OUTPUT.xxxxxx" and `ending`, as hiddenSibling names them.
bool isOurHiddenName(std::string_view name, std::string_view output, std::string_view ending) {
    const size_t stem = 1 + output.size() + 1;
    if (name.size() != stem + 6 + ending.size()) return false;
    if (name[0] != '.' || name.substr(1, output.size()) != output || name[1 + output.size()] != '.') return false;
    for (const char c : name.substr(stem, 6))
        if (!std::isxdigit(static_cast<unsigned char>(c)) || std::isupper(static_cast<unsigned char>(c))) return false;
    return name.substr(stem + 6) == ending;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return parts;
        start = tab + 1;
    }
}

// The journal names only files of ours, in the folder: a journal that names
// anything else (a damaged one, or one made by hand) moves nothing.
bool namesOnlyOurs(const PlacingRecord& r, std::string_view first, std::string_view second) {
    const std::string early = pathText(r.earlyOutput), late = pathText(r.lateOutput);
    if (!((early == first && late == second) || (early == second && late == first))) return false;
    if (!isOurHiddenName(pathText(r.earlyNew), early, ".tmp") || !isOurHiddenName(pathText(r.lateNew), late, ".tmp"))
        return false;
    return r.kept.empty() || isOurHiddenName(pathText(r.kept), early, ".old");
}

struct Step {
    fs::path from;  // renamed to `to`; removed when `to` is empty
    fs::path to;
};

bool folderWritable(const fs::path& folder) {
#ifndef _WIN32
    return ::access(folder.c_str(), W_OK) == 0;
#else
    (void)folder;  // a read-only medium says so at the first change
    return true;
#endif
}

std::string plural(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

fs::path journalPath(const fs::path& firstOutput) {
    const fs::path folder = firstOutput.parent_path().empty() ? fs::path(".") : firstOutput.parent_path();
    return folder / nativePath("." + pathText(firstOutput.filename()) + ".journal");
}

std::string journalText(const PlacingRecord& r) {
    std::string text(kJournalHeader);
    text += "kept\t" + pathText(r.kept) + "\n";
    text += "early\t" + pathText(r.earlyNew) + "\t" + pathText(r.earlyOutput) + "\n";
    text += "late\t" + pathText(r.lateNew) + "\t" + pathText(r.lateOutput) + "\n";
    text += kJournalEnd;
    return text;
}

std::optional<PlacingRecord> parseJournal(std::string_view text) {
    if (!text.starts_with(kJournalHeader) || !text.ends_with(kJournalEnd)) return std::nullopt;
    text.remove_prefix(kJournalHeader.size());
    text.remove_suffix(kJournalEnd.size());
    PlacingRecord record;
    int seen = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        const std::vector<std::string_view> parts = splitTabs(text.substr(0, end));
        text.remove_prefix(end + 1);
        if (parts.size() == 2 && parts[0] == "kept") {
            record.kept = nativePath(parts[1]);
            seen |= 1;
        } else if (parts.size() == 3 && parts[0] == "early") {
            record.earlyNew = nativePath(parts[1]);
            record.earlyOutput = nativePath(parts[2]);
            seen |= 2;
        } else if (parts.size() == 3 && parts[0] == "late") {
            record.lateNew = nativePath(parts[1]);
            record.lateOutput = nativePath(parts[2]);
            seen |= 4;
        } else {
            return std::nullopt;
        }
    }
    if (seen != 7) return std::nullopt;
    return record;
}

PlacingRecovery recoverPlacing(const fs::path& folderGiven, std::string_view first, std::string_view second) {
    const fs::path folder = folderGiven.empty() ? fs::path(".") : folderGiven;
    const std::string where = pathText(folder);
    const fs::path journal = journalPath(folder / nativePath(first));
    const bool hasJournal = present(journal);

    std::optional<PlacingRecord> record;
    if (hasJournal) {
        if (Result<std::vector<uint8_t>> bytes = readFileBytes(pathText(journal)); bytes) {
            record = parseJournal(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
            if (record && !namesOnlyOurs(*record, first, second)) record.reset();
        }
    }

    // What to do about the journal: renames that complete the replacement,
    // or nothing more than removals, which leave (or put back) the old pair.
    std::vector<Step> renames;
    bool completes = false;
    bool mismatched = false;  // the folder holds one new output beside an old one
    if (record) {
        const bool earlyWaiting = present(folder / record->earlyNew);
        const bool lateWaiting = present(folder / record->lateNew);
        const bool earlyPlaced =
            !earlyWaiting && (record->kept.empty() ? present(folder / record->earlyOutput) : present(folder / record->kept));
        if (earlyWaiting && lateWaiting) {
            renames = {{folder / record->earlyNew, folder / record->earlyOutput}, {folder / record->lateNew, folder / record->lateOutput}};
            completes = true;
        } else if (!earlyWaiting && !lateWaiting) {
            completes = true;  // both were placed; only the kept old file may be left
        } else if (earlyPlaced && lateWaiting) {
            renames = {{folder / record->lateNew, folder / record->lateOutput}};
            completes = mismatched = true;
        }
        // Otherwise the first file was put back (or never renamed): removing the new files leaves the old pair.
    }

    // Hidden files of ours: every ".tmp" and ".old" of either output, but for
    // those about to be renamed into place.
    std::vector<fs::path> leftovers;
    std::error_code listError;
    for (fs::directory_iterator it(folder, listError), end; !listError && it != end; it.increment(listError)) {
        const std::string name = pathText(it->path().filename());
        bool ours = false;
        for (const std::string_view output : {first, second})
            ours = ours || isOurHiddenName(name, output, ".tmp") || isOurHiddenName(name, output, ".old");
        if (!ours) continue;
        bool renamed = false;
        for (const Step& step : renames) renamed = renamed || step.from == it->path();
        if (!renamed) leftovers.push_back(it->path());
    }

    PlacingRecovery result;
    if (!hasJournal && leftovers.empty()) return result;
    const std::string outputs = std::string(first) + " and " + std::string(second);
    const std::string stopped = where + ": a build was stopped while putting " + outputs + " in place";
    if (hasJournal) {
        result.outcome = completes ? PlacingRecovery::Outcome::Completed : PlacingRecovery::Outcome::PutBack;
        result.message = stopped + (completes ? "; its new files are now in place" : "; the old files are back");
        if (!record) result.message = stopped + " before it had begun; the files are as they were";
    } else {
        result.outcome = PlacingRecovery::Outcome::Cleaned;
        result.message = where + ": removed " + plural(leftovers.size(), "hidden file", "hidden files") +
                         " that a stopped build left";
    }

    if (!folderWritable(folder)) {
        result.outcome = PlacingRecovery::Outcome::LeftAsFound;
        result.message = hasJournal ? stopped : where + ": a stopped build left " + plural(leftovers.size(), "hidden file", "hidden files");
        if (mismatched)
            result.message += "; it holds the new " + pathText(record->earlyOutput) + " beside the old " + pathText(record->lateOutput);
        result.message += "; the folder cannot be written, so it stays as it is";
        return result;
    }

    for (const Step& step : renames) {
        std::error_code error;
        fs::rename(step.from, step.to, error);
        if (error) {
            // The journal stays, so that the next run tries again.
            result.warning = true;
            result.message = stopped + "; cannot finish putting the new files in place: cannot rename " + pathText(step.from) +
                             " to " + pathText(step.to.filename()) + ": " + error.message();
            return result;
        }
    }
    std::vector<std::string> problems;
    for (const fs::path& file : leftovers) {
        std::error_code error;
        fs::remove(file, error);
        if (error) problems.push_back("cannot remove " + pathText(file.filename()) + ": " + error.message());
    }
    if (const std::error_code error = syncFolder(folder)) {
        problems.push_back("cannot sync the folder: " + error.message());  // the journal stays for the next run
    } else if (hasJournal) {
        std::error_code removeError;
        fs::remove(journal, removeError);
        if (removeError) problems.push_back("cannot remove " + pathText(journal.filename()) + ": " + removeError.message());
    }
    if (!problems.empty()) {
        result.warning = true;
        for (const std::string& problem : problems) result.message += "; " + problem;
    }
    return result;
}

}  // namespace zmr
