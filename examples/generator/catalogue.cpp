#include "catalogue.h"

namespace zmr::examples {

std::vector<Song> allSongs() { return {queHuong(), chucMungNamMoi(), muaXuanVe(), ruCon(), demTrang(), hanhTrinhDai()}; }

}  // namespace zmr::examples
