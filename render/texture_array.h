// The program's one texture: three 2048 x 2048 RGBA layers holding every picture.
#pragma once

#include "os/types.h"
#include "render/image.h"

#define TEXTURE_ARRAY_SIZE 2048
#define TEXTURE_ARRAY_LAYERS 3

struct TextureArray {
    u32 name;
    u32 width;
    u32 height;
    u32 layers;
    u32 min_filter;
    u32 mag_filter;
    u32 wrap_s;
    u32 wrap_t;
    u32 wrap_r;
    u32 format;  // also the internal format
    u32 type;
};

extern TextureArray texture_array;

// Creates the (undefined) texture storage and fills texture_array.
void create_texture_array(void);
// True when an image of this size lies wholly inside a layer at x_offset.
bool image_fits_texture_array(const Image *image, u32 x_offset, u32 layer);
// Turns the image upside down and copies it against the top of the layer at
// x_offset, then releases its pixels.  An image that does not fit there is
// released with a log line instead; false then.
bool upload_image(Image *image, u32 x_offset, u32 layer);
