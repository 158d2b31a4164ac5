// The font code without a renderer: the fuzz targets only scan glyphs, and
// drawing text from them would be a fault.
#include <stdlib.h>

#include "render/renderer.h"

Renderer renderer;

SpriteInstance *push_instance(void) { abort(); }
