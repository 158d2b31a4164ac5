#include "os/log.h"
#include "os/memory.h"
#include "render/font.h"
#include "render/load_textures.h"
#include "render/sprite_frames.h"
#include "render/texture_array.h"

#define FONT_LAYER 2

struct FontImage {
    Str path;
    Font *font;
    u32 x_offset;
};

static const FontImage FONT_IMAGES[] = {
    {STR("img/small.png"), &font_small, 0},
    {STR("img/small_bold.png"), &font_small_bold, 256},
    {STR("img/bigger.png"), &font_bigger, 512},
    {STR("img/bigger_bold.png"), &font_bigger_bold, 768},
};

static bool load_sheet(Str path, Sprite *placement, u8 layer) {
    // An image too large for its layer comes back undecoded and is skipped by
    // the upload with its log line.
    Image image = load_image(path, TEXTURE_ARRAY_SIZE, TEXTURE_ARRAY_SIZE);
    if (!image.width) return false;
    *placement = Sprite{0, 0, 0, 0, layer, 0, 0};
    return upload_image(&image, 0, layer);
}

static bool load_font(const FontImage *f) {
    Image image = load_image(f->path, FONT_COLUMN_WIDTH, TEXTURE_ARRAY_SIZE);
    if (!image.width) return false;
    // A wider image would spill into the next font's column; its glyphs are
    // only built once the image is known to fit.
    if (image.width > FONT_COLUMN_WIDTH || !image_fits_texture_array(&image, f->x_offset, FONT_LAYER)) {
        LOG_TAG();
        log_printf("Font image (%.*s) %ix%i does not fit its %i-pixel column: skipped\n", (int)f->path.len,
                   f->path.data, image.width, image.height, FONT_COLUMN_WIDTH);
        os_free(image.pixels);
        return false;
    }
    build_font_glyphs(&image, f->font);
    if (f->font->glyphs) {
        for (u32 i = 0; i < FONT_GLYPH_COUNT; i++) f->font->glyphs[i].x = (u16)(f->font->glyphs[i].x + f->x_offset);
    }
    f->font->layer = FONT_LAYER;
    return upload_image(&image, f->x_offset, FONT_LAYER);
}

static_assert(sizeof(FONT_IMAGES) / sizeof(FONT_IMAGES[0]) + 2 == LOAD_TEXTURES_IMAGES, "two sheets and the fonts");

u32 load_textures(void) {
    create_texture_array();
    u32 placed = load_sheet(STR("img/default.png"), &sprite_sheet_placement, 0);
    placed += load_sheet(STR("img/background.png"), &background_sheet_placement, 1);
    for (const FontImage &f : FONT_IMAGES) placed += load_font(&f);
    fix_up_sprite_table();
    return placed;
}
