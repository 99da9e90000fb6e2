#pragma once
// The simplest list of songs: paths held in a vector. The command line hands
// it its sorted arguments; the dialog copies its list into one before a
// compilation, so the compilation never reads the dialog's widgets.

#include <string>
#include <vector>

#include "image/compile_sinks.h"

namespace zmr {

class SongPathList : public SongSource {
public:
    explicit SongPathList(std::vector<std::string> paths) : paths_(std::move(paths)) {}
    int32_t count() const override { return static_cast<int32_t>(paths_.size()); }
    std::string path(int32_t index) const override { return paths_.at(static_cast<size_t>(index)); }

private:
    std::vector<std::string> paths_;
};

}  // namespace zmr
