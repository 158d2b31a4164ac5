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
// Reads and decodes the file at path (relative to the executable's directory).
// A missing, short or undecodable file gives the zero Image and logs nothing.
Image load_image(Str path);
// Decodes bytes already in memory; the zero Image on failure.
Image decode_image(const u8 *bytes, u64 size);
// Reverses the order of the rows in place; an odd middle row stays.
void flip_image_rows(Image *image);
// What the decoder's failed internal check prints before the halt.
void image_decoder_assert_failed(const char *function, int line, const char *condition);
