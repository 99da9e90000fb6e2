#include "songbook/book.h"

#include "disc/volume.h"
