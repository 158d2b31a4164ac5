// libFuzzer target for image loading as start-up does it: each input is a
// whole image file, loaded with the limits of a sprite sheet, scanned for
// glyphs when it would fit a font's column, and turned over as the upload does.
#include "os/memory.h"
#include "render/font.h"
#include "render/image.h"
#include "render/texture_array.h"
#include "tools/fuzz/fuzz_file_input.h"

Str os_get_exe_dir(void) { return STR(""); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 16);
    arena_reset(&temp_arena);
    fuzz_input = data;
    fuzz_input_size = size;
    // Read once with the sheet's limits; a font's are narrower, and an image
    // within them decodes to the same pixels.
    const u32 limit = TEXTURE_ARRAY_SIZE;
    Image image = load_image(STR("fuzz.png"), limit, limit);
    if (!image.pixels) {
        // Refused by its header only for a size over the limit.
        if (image.width && image.width <= limit && image.height <= limit) abort();
        return 0;
    }
    u64 bytes = (u64)image.width * image.height * 4;
    if (!image.width || !image.height || image.width > limit || image.height > limit || image.capacity < bytes)
        abort();
    if (image.width <= FONT_COLUMN_WIDTH) {
        Font font = {};
        build_font_glyphs(&image, &font);
        os_free(font.glyphs);
    }
    flip_image_rows(&image);
    os_free(image.pixels);
    return 0;
}
