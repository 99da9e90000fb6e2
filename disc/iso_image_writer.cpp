#include "disc/iso_image_writer.h"

#define LIBISOFS_WITHOUT_LIBBURN 1  // declares struct burn_source, which the image is read through
#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include <libisofs/libisofs.h>

#include "base/grouped_number.h"
#include "image/disc_capacity.h"
#include "fileio/file_bytes.h"
#include "image/image_layout.h"
#include "fileio/temporary_file.h"

namespace zmr {
namespace fs = std::filesystem;

namespace {

// libisofs keeps one message queue for the process, and is started once.
std::mutex& libraryLock() {
    static std::mutex lock;
    return lock;
}

std::string libraryMessage(int code) {
    const char* text = iso_error_to_msg(code);
    return text ? text : "error " + std::to_string(code);
}

Status startLibrary() {
    static const int started = [] {
        const int result = iso_init_with_flag(1);  // leave the process's locale alone
        // Problems are collected and reported with the file they concern, not printed.
        char never[] = "NEVER", sorry[] = "SORRY", id[] = "zmrimage";
        if (result > 0) iso_set_msgs_severities(sorry, never, id);
        return result;
    }();
    if (started <= 0) return Failure{"cannot start libisofs: " + libraryMessage(started)};
    return success();
}

// The first problem libisofs queued since the last call, if any.
std::optional<std::string> queuedProblem() {
    std::optional<std::string> first;
    char minimum[] = "SORRY";
    int code = 0, imageId = 0;
    char text[ISO_MSGS_MESSAGE_LEN], severity[80];
    while (iso_obtain_msgs(minimum, &code, &imageId, text, severity) == 1) {
        if (!first) first = text;
    }
    return first;
}

struct ImageDeleter {
    void operator()(IsoImage* image) const { iso_image_unref(image); }
};
struct OptionsDeleter {
    void operator()(IsoWriteOpts* options) const { iso_write_opts_free(options); }
};
// Freeing the source stops and joins libisofs's writing thread.
struct SourceDeleter {
    void operator()(burn_source* source) const {
        source->free_data(source);
        std::free(source);
    }
};

Result<std::unique_ptr<IsoImage, ImageDeleter>> buildTree(const IsoContents& contents) {
    IsoImage* raw = nullptr;
    if (int r = iso_image_new(contents.volumeId.c_str(), &raw); r < 0)
        return Failure{"cannot make the ISO 9660 image: " + libraryMessage(r)};
    std::unique_ptr<IsoImage, ImageDeleter> image(raw);
    char application[] = "ZMRIMAGE " ZMR_VERSION;
    iso_image_set_application_id(image.get(), application);
    const std::pair<const char*, const fs::path*> files[] = {{kImageFileName, &contents.image},
                                                             {kSongListFileName, &contents.songList}};
    for (const auto& [name, path] : files) {
        if (const std::optional<std::string> problem = regularFileProblem(*path))
            return Failure{path->string() + ": " + *problem, FailureKind::UnreadableInput};
        const int r = iso_tree_add_new_node(image.get(), iso_image_get_root(image.get()), name,
                                            fs::absolute(*path).string().c_str(), nullptr);
        if (r < 0) return Failure{path->string() + ": " + libraryMessage(r), FailureKind::UnreadableInput};
    }
    return image;
}

Result<std::unique_ptr<IsoWriteOpts, OptionsDeleter>> writeOptions() {
    IsoWriteOpts* raw = nullptr;
    if (int r = iso_write_opts_new(&raw, 0); r < 0) return Failure{"cannot set up libisofs: " + libraryMessage(r)};
    std::unique_ptr<IsoWriteOpts, OptionsDeleter> options(raw);
    iso_write_opts_set_iso_level(raw, 1);
    iso_write_opts_set_rockridge(raw, 0);
    iso_write_opts_set_joliet(raw, 1);
    iso_write_opts_set_omit_version_numbers(raw, 2);  // Joliet names alone go without ";1"
    return options;
}

// Copies the image stream into `file`; the stream's failures and libisofs's
// queued problems both count.
Status copyStream(burn_source* source, TemporaryFile& file, uint64_t expected, const std::string& outputName) {
    // One sector a call, as a burner reads it: the stream hands out no more.
    std::vector<unsigned char> buffer(kDiscSectorSize);
    uint64_t copied = 0;
    for (;;) {
        const int n = source->read_xt(source, buffer.data(), static_cast<int>(buffer.size()));
        if (n <= 0) break;
        if (Status s = file.write(std::span(buffer).first(static_cast<size_t>(n))); !s) {
            source->cancel(source);
            return s;
        }
        copied += static_cast<uint64_t>(n);
    }
    if (std::optional<std::string> problem = queuedProblem())
        return Failure{"cannot write " + outputName + ": " + *problem, FailureKind::WriteFailed};
    if (copied != expected)
        return Failure{"cannot write " + outputName + ": the ISO 9660 image ended after " + std::to_string(copied) +
                       " of " + std::to_string(expected) + " bytes",
                       FailureKind::WriteFailed};
    return success();
}

}  // namespace

Result<IsoWritten> writeIsoImage(const IsoContents& contents, const fs::path& output, TemporaryFileWatcher* watcher) {
    std::lock_guard lock(libraryLock());
    if (Status s = startLibrary(); !s) return s.failure();
    queuedProblem();  // forget what an earlier image left behind

    auto image = buildTree(contents);
    if (!image) return image.failure();
    auto options = writeOptions();
    if (!options) return options.failure();

    burn_source* raw = nullptr;
    if (int r = iso_image_create_burn_source(image->get(), options->get(), &raw); r < 0)
        return Failure{"cannot make " + output.string() + ": " + libraryMessage(r)};
    std::unique_ptr<burn_source, SourceDeleter> source(raw);
    const uint64_t bytes = static_cast<uint64_t>(source->get_size(source.get()));
    const IsoWritten written{bytes / kDiscSectorSize};
    if (contents.maxSectors && written.sectors > *contents.maxSectors) {
        source->cancel(source.get());
        return Failure{"cannot write " + output.string() + ": the ISO 9660 image takes " +
                       groupThousands(written.sectors) + " sectors, more than the " +
                       groupThousands(*contents.maxSectors) + " the disc holds",
                       FailureKind::DiskFull};
    }

    TemporaryFile temporary(output, watcher);
    if (Status s = temporary.open(); !s) {
        source->cancel(source.get());
        return s.failure();
    }
    if (Status s = copyStream(source.get(), temporary, bytes, output.string()); !s) return s.failure();
    if (Status s = temporary.place(); !s) return s.failure();
    return written;
}

}  // namespace zmr
