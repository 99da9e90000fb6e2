#pragma once
// The example songs, one function each, in the order they are written.

#include <vector>

#include "song.h"

namespace zmr::examples {

Song queHuong();
Song chucMungNamMoi();
Song muaXuanVe();
Song ruCon();
Song demTrang();
Song hanhTrinhDai();

std::vector<Song> allSongs();

}  // namespace zmr::examples
