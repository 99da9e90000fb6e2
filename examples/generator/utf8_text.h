#pragma once
// Respells VIQR text in Unicode (UTF-8, each letter precomposed), for copies
// of the example songs written as newer collections write them.

#include <string>

namespace zmr::examples {

// Each letter as the player shows the VIQR spelling: the text goes through
// the converter's own transcoder and comes back through the inverse of its
// code page, so the copy shows exactly what the VIQR song shows.
std::string viqrToUtf8(const std::string& viqr);

}  // namespace zmr::examples
