// Start-up loading of every picture: the texture array, the two sheets, the
// four fonts and the sprite-table fix-up.
#pragma once

#include "os/types.h"

// Needs the GL context and the loaded entry points.  An image that fails to
// load, or does not fit its place, is left out and loading goes on.  The
// number of images placed, of LOAD_TEXTURES_IMAGES.
#define LOAD_TEXTURES_IMAGES 6
u32 load_textures(void);
