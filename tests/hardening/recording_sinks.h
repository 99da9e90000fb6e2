#pragma once
// Sinks for compileImage that keep only what the hardening tests check: the
// songs reported as failed, with their messages.

#include <string>
#include <utility>
#include <vector>

#include "image/compile_image.h"
#include "image/song_path_list.h"

namespace zmr::test {

class RecordingSinks : public ProgressSink, public StateSink, public SongMessageSink {
public:
    void setRange(int32_t, int32_t) override {}
    void setPosition(int32_t) override {}
    void stateChanged(CompileState) override {}
    void songFailed(std::string_view path, std::string_view message) override { failed.emplace_back(path, message); }

    CompileSinks sinks() { return {*this, *this, *this}; }

    std::vector<std::pair<std::string, std::string>> failed;
};

}  // namespace zmr::test
