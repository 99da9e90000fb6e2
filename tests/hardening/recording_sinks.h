#pragma once
// Sinks for compileImage that keep only what the hardening tests check: the
// songs reported as failed, with their messages.

#include <string>
#include <utility>
#include <vector>

#include "image/compile_image.h"

namespace zmr::test {

class RecordingSinks : public ProgressSink, public TitleSink, public SongMessageSink {
public:
    void setRange(int32_t, int32_t) override {}
    void setPosition(int32_t) override {}
    void setTitle(std::string_view) override {}
    void songFailed(std::string_view path, std::string_view message) override { failed.emplace_back(path, message); }

    CompileSinks sinks() { return {*this, *this, *this}; }

    std::vector<std::pair<std::string, std::string>> failed;
};

// The paths of a list, as given.
class PathList : public SongSource {
public:
    explicit PathList(std::vector<std::string> paths) : paths_(std::move(paths)) {}
    int32_t count() const override { return static_cast<int32_t>(paths_.size()); }
    std::string path(int32_t index) const override { return paths_[static_cast<size_t>(index)]; }

private:
    std::vector<std::string> paths_;
};

}  // namespace zmr::test
