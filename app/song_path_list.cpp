#include "app/song_path_list.h"

namespace zmr::gui {

std::string SongPathList::path(int32_t index) const { return paths_.at(static_cast<size_t>(index)); }

}  // namespace zmr::gui
