// The page's image, assembled in list order from records its workers
// converted. The layout is the core's own (ImageAssembler): the page only
// keeps the bytes. Each step hands back what it wrote, as appends and patches
// of the image and appends of the song list, and the lines the command line
// would print for it, so the page holds the image as pieces it never copies
// whole.

#include <emscripten/bind.h>

#include <memory>
#include <string>

#include "image/capacity_checked_writer.h"
#include "image/image_assembler.h"
#include "image/image_layout.h"
#include "text/shown_text.h"
#include "web/core/js_values.h"

namespace zmr::web {
namespace {

using emscripten::val;

// Keeps every write until the page collects it.
class RecordingWriter : public ImageWriter {
public:
    Status begin() override { return success(); }
    Status appendImage(std::span<const uint8_t> bytes) override { return record(-1, bytes); }
    Status patchImage(uint32_t offset, std::span<const uint8_t> bytes) override {
        return record(static_cast<double>(offset), bytes);
    }
    Status appendSongList(std::span<const uint8_t> bytes) override {
        songList_.insert(songList_.end(), bytes.begin(), bytes.end());
        return success();
    }
    Status commit() override { return success(); }
    void abandon() override { abandoned_ = true; }

    val take() {
        val taken = writes_;
        writes_ = val::array();
        return taken;
    }
    val takeSongList() {
        val bytes = bytesToJs(songList_);
        songList_.clear();
        return bytes;
    }
    bool abandoned() const { return abandoned_; }

private:
    Status record(double offset, std::span<const uint8_t> bytes) {
        val write = val::object();
        write.set("offset", offset);
        write.set("bytes", bytesToJs(bytes));
        writes_.call<void>("push", write);
        return success();
    }

    val writes_ = val::array();
    std::vector<uint8_t> songList_;
    bool abandoned_ = false;
};

// The lines of each song as `zmrimage build` prints them.
class MessageRecorder : public ProgressSink, public StateSink, public SongMessageSink {
public:
    void setRange(int32_t, int32_t) override {}
    void setPosition(int32_t) override {}
    void stateChanged(CompileState) override {}
    void songFailed(std::string_view path, std::string_view message) override {
        add(path, "failed", shownText(path) + ": " + shownText(messageLine(std::string(message))));
    }
    void songWarning(std::string_view path, std::string_view message) override {
        add(path, "warning", shownText(path) + ": warning: " + shownText(message));
    }
    val take() {
        val taken = messages_;
        messages_ = val::array();
        return taken;
    }

private:
    void add(std::string_view path, const char* kind, const std::string& text) {
        val message = val::object();
        message.set("path", std::string(path));
        message.set("kind", std::string(kind));
        message.set("text", text);
        messages_.call<void>("push", message);
    }
    val messages_ = val::array();
};

SongRecord recordFromJs(const val& result) {
    SongRecord record;
    record.bytes = bytesFromJs(result["record"]);
    const std::vector<uint8_t> name = bytesFromJs(result["name"]);
    record.name.assign(name.begin(), name.end());
    record.uncodedCharacters = result["uncoded"].as<int32_t>();
    return record;
}

std::string summaryLine(const CompileSummary& summary) {
    return std::to_string(summary.songsWritten) + " song" + (summary.songsWritten == 1 ? "" : "s") +
           " written, image " + std::to_string(summary.imageSize) + " bytes: " + kImageFileName;
}

class ImageAssembly {
public:
    ImageAssembly(int32_t songCount, bool skipBad)
        : measured_(writer_, *findDiscMedium(kDefaultDiscMedium), false),
          sinks_{recorder_, recorder_, recorder_},
          assembler_(measured_, sinks_, songCount, skipBad) {}

    val begin() {
        const Status started = assembler_.begin();
        return step(started ? std::string() : started.message(), started.ok(), false);
    }

    // `result` is what convertSong gave the worker for this song.
    val addSong(const std::string& path, const val& result) {
        Result<SongRecord> song =
            result["ok"].as<bool>() ? Result<SongRecord>(recordFromJs(result))
                                    : Result<SongRecord>(Failure{result["message"].as<std::string>(), FailureKind::BadSong});
        const Result<bool> goOn = assembler_.add(path, song);
        if (!goOn) return step(goOn.message(), false, true);
        return step({}, true, !*goOn);
    }

    val finish() {
        const Result<CompileSummary> summary = assembler_.finish();
        val done = step(summary ? std::string() : summary.message(), summary.ok(), true);
        if (summary) {
            val lines = val::array();
            lines.call<void>("push", summaryLine(*summary));
            lines.call<void>("push", "Disc: " + describeFill(measured_.fill()));
            val figures = val::object();
            figures.set("songsWritten", summary->songsWritten);
            figures.set("songsFailed", summary->songsFailed);
            figures.set("stoppedEarly", summary->stoppedEarly);
            figures.set("imageSize", static_cast<double>(summary->imageSize));
            figures.set("lines", lines);
            done.set("summary", figures);
        }
        return done;
    }

private:
    val step(const std::string& failure, bool ok, bool stopped) {
        val result = val::object();
        result.set("ok", ok);
        result.set("message", messageLine(failure));
        result.set("stopped", stopped);
        result.set("writes", writer_.take());
        result.set("songList", writer_.takeSongList());
        result.set("messages", recorder_.take());
        return result;
    }

    RecordingWriter writer_;
    CapacityCheckedWriter measured_;  // measures the default CD for the closing line; refuses nothing
    MessageRecorder recorder_;
    CompileSinks sinks_;
    ImageAssembler assembler_;
};

}  // namespace

EMSCRIPTEN_BINDINGS(image_assembly) {
    emscripten::class_<ImageAssembly>("ImageAssembler")
        .constructor<int32_t, bool>()
        .function("begin", &ImageAssembly::begin)
        .function("addSong", &ImageAssembly::addSong)
        .function("finish", &ImageAssembly::finish);
}

}  // namespace zmr::web
