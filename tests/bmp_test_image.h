// Small DIB and BMP images for the clipboard tests, and their decoding.
#pragma once

#include <string.h>
#include <vector>

#include "os/types.h"

struct TestImage {
    int width, height;
    std::vector<u32> rgb;  // 0xRRGGBB, top row first
};

// Distinct colours so that a swapped row or channel shows.
static inline TestImage test_image(int width, int height) {
    TestImage image = {width, height, {}};
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) image.rgb.push_back((u32)((x * 60 + 15) << 16 | (y * 70 + 25) << 8 | (x * 13 + y * 29 + 7)));
    return image;
}

// The vector must already hold the four bytes.
static inline void put_u32(std::vector<u8> &out, size_t at, u32 v) {
    for (int i = 0; i < 4; i++) out.at(at + i) = (u8)(v >> (8 * i));
}

// A bottom-up 24-bit DIB with a 40-byte header; image size as given (0 allowed).
static inline std::vector<u8> dib24(const TestImage &image, bool image_size_field) {
    int row = (image.width * 3 + 3) / 4 * 4;
    std::vector<u8> dib(40 + (size_t)row * image.height, 0);
    put_u32(dib, 0, 40);
    put_u32(dib, 4, (u32)image.width);
    put_u32(dib, 8, (u32)image.height);
    dib[12] = 1;   // planes
    dib[14] = 24;  // bits per pixel
    put_u32(dib, 20, image_size_field ? (u32)(row * image.height) : 0);
    for (int r = 0; r < image.height; r++) {
        const u32 *src = &image.rgb[(size_t)(image.height - 1 - r) * image.width];
        u8 *dst = &dib[40 + (size_t)r * row];
        for (int x = 0; x < image.width; x++) {
            dst[x * 3 + 0] = (u8)src[x];
            dst[x * 3 + 1] = (u8)(src[x] >> 8);
            dst[x * 3 + 2] = (u8)(src[x] >> 16);
        }
    }
    return dib;
}

// Decodes a BMP file to 0xRRGGBB values, top row first; empty if it does not decode.
TestImage decode_bmp(const char *data, u64 len);
