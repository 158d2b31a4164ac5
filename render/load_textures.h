// Start-up loading of every picture: the texture array, the two sheets, the
// four fonts and the sprite-table fix-up.
#pragma once

// Needs the GL context and the loaded entry points.  An image that fails to
// load, or does not fit its place, is left out and loading goes on.
void load_textures(void);
