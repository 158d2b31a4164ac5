// Decoding image files beside the executable into RGBA pixels.
#pragma once

#include "os/types.h"

struct Image {
    u32 width;
    u32 height;
    u8 *pixels;    // width * height * 4 bytes, RGBA, top row first; released with os_free
    u32 capacity;  // bytes allocated: the smallest power of two not below width * height * 4
};

// The smallest power of two not below bytes (bytes <= 2^31).
u32 image_capacity_for(u64 bytes);
// Reads the width and height from an image file's header without decoding it;
// false when there is no readable header.
bool read_image_size(const u8 *bytes, u64 size, u32 *width, u32 *height);
// Reads and decodes the file at path (relative to the executable's directory).
// A missing, short or undecodable file gives the zero Image and logs nothing.
// One whose header claims more than max_width x max_height is not decoded: it
// comes back with that size and no pixels, and logs nothing.
Image load_image(Str path, u32 max_width, u32 max_height);
// Decodes bytes already in memory; the zero Image on failure.
Image decode_image(const u8 *bytes, u64 size);
// Reverses the order of the rows in place; an odd middle row stays.
void flip_image_rows(Image *image);
// What the decoder's failed internal check prints before the halt.
void image_decoder_assert_failed(const char *function, int line, const char *condition);
