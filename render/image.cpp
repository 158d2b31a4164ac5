#include <stdlib.h>
#include <string.h>

#include "os/files.h"
#include "os/log.h"
#include "os/memory.h"
#include "render/image.h"

// The decoder's allocations are held to what the picture its header describes
// can need, so that a small file cannot make it allocate gigabytes: a chunk
// claiming more bytes than the file holds, or compressed data that inflates
// far past the picture.  Set by decode_image for each file.
static u64 image_decode_budget;
static void *budgeted_malloc(size_t n) { return n <= image_decode_budget ? malloc(n) : nullptr; }
static void *budgeted_realloc(void *p, size_t n) { return n <= image_decode_budget ? realloc(p, n) : nullptr; }
#define STBI_MALLOC(n) budgeted_malloc(n)
#define STBI_REALLOC(p, n) budgeted_realloc(p, n)
#define STBI_FREE(p) free(p)
#define STBI_ASSERT(x) ((x) ? (void)0 : image_decoder_assert_failed(__func__, __LINE__, #x))
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// Files this short cannot hold a PNG signature and header.
#define IMAGE_MIN_FILE_SIZE 9

void image_decoder_assert_failed(const char *function, int line, const char *condition) {
    log_printf("* STBI_ASSERT * [%s:%i] - (%s)\n", function, line, condition);
    os_halt();
}

u32 image_capacity_for(u64 bytes) {
    u64 capacity = 1;
    while (capacity < bytes) capacity <<= 1;
    return (u32)capacity;
}

bool read_image_size(const u8 *bytes, u64 size, u32 *width, u32 *height) {
    if (size < IMAGE_MIN_FILE_SIZE || size > INT32_MAX) return false;
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, (int)size, &w, &h, &channels) || w <= 0 || h <= 0) return false;
    *width = (u32)w;
    *height = (u32)h;
    return true;
}

Image decode_image(const u8 *bytes, u64 size) {
    Image image = {0, 0, nullptr, 0};
    u32 header_width = 0, header_height = 0;
    if (!read_image_size(bytes, size, &header_width, &header_height)) return image;
    // Up to 8 bytes a pixel while decoding (16-bit RGBA), twice over for the
    // buffers that grow by doubling; the compressed data is at most the file.
    image_decode_budget = 16 * (u64)header_width * header_height + 2 * size + 65536;
    int width = 0, height = 0, channels = 0;
    stbi_uc *decoded = stbi_load_from_memory(bytes, (int)size, &width, &height, &channels, 4);
    if (!decoded) return image;
    u64 byte_count = (u64)width * (u64)height * 4;
    u32 capacity = image_capacity_for(byte_count);
    u8 *pixels = byte_count <= 0x80000000ull ? (u8 *)os_alloc(capacity) : nullptr;
    if (pixels) {
        memcpy(pixels, decoded, byte_count);
        image = Image{(u32)width, (u32)height, pixels, capacity};
    }
    stbi_image_free(decoded);
    return image;
}

Image load_image(Str path, u32 max_width, u32 max_height) {
    Str parts[] = {os_get_exe_dir(), path, Str{0, nullptr}};
    Str full_path = arena_concat(&temp_arena, parts);
    FileData file = os_read_entire_file(full_path);
    if (!file.data) return Image{0, 0, nullptr, 0};
    // A small file can claim a huge picture: the size is checked before
    // anything is decoded.
    Image image = {0, 0, nullptr, 0};
    u32 width = 0, height = 0;
    if (read_image_size(file.data, file.size, &width, &height)) {
        if (width > max_width || height > max_height) image = Image{width, height, nullptr, 0};
        else image = decode_image(file.data, file.size);
    }
    os_free_file_data(&file);
    if (!image.pixels) return image;
    LOG_TAG();
    log_printf("Loaded image (%.*s) %ix%i\n", (int)full_path.len, full_path.data, image.width, image.height);
    return image;
}

void flip_image_rows(Image *image) {
    u32 *pixels = (u32 *)image->pixels;
    u64 w = image->width;
    for (u64 r = 0; r < image->height / 2; r++) {
        u32 *top = pixels + r * w;
        u32 *bottom = pixels + (image->height - 1 - r) * w;
        for (u64 x = 0; x < w; x++) {
            u32 t = top[x];
            top[x] = bottom[x];
            bottom[x] = t;
        }
    }
}
