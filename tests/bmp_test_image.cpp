// A private copy of the decoder, so it cannot clash with the program's own.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include "tests/bmp_test_image.h"

TestImage decode_bmp(const char *data, u64 len) {
    TestImage image = {0, 0, {}};
    int w, h, channels;
    stbi_uc *pixels = stbi_load_from_memory((const stbi_uc *)data, (int)len, &w, &h, &channels, 4);
    if (!pixels) return image;
    image.width = w;
    image.height = h;
    for (int i = 0; i < w * h; i++)
        image.rgb.push_back((u32)pixels[i * 4] << 16 | (u32)pixels[i * 4 + 1] << 8 | pixels[i * 4 + 2]);
    stbi_image_free(pixels);
    return image;
}
