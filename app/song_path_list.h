#pragma once
// The songs of one compilation, taken from the list when "Create Image" is
// pressed, so the compilation can read them off the dialog's thread.

#include <string>
#include <vector>

#include "image/compile_sinks.h"

namespace zmr::gui {

class SongPathList : public SongSource {
public:
    explicit SongPathList(std::vector<std::string> paths) : paths_(std::move(paths)) {}
    int32_t count() const override { return static_cast<int32_t>(paths_.size()); }
    std::string path(int32_t index) const override;

private:
    std::vector<std::string> paths_;
};

}  // namespace zmr::gui
