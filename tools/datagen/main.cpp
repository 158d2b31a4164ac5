// Writes the game's images and sounds: fathomer_datagen <bin dir> [contact sheet path]
// or the program's icon: fathomer_datagen --icon <path.ico>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "audio.h"
#include "contact.h"
#include "fonts.h"
#include "icon.h"
#include "sheet.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

static const char *FONT_REGULAR = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
static const char *FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

static bool write_png(const char *path, int w, int h, const unsigned char *rgba) {
    if (!stbi_write_png(path, w, h, 4, rgba, w * 4)) {
        fprintf(stderr, "datagen: cannot write %s\n", path);
        return false;
    }
    return true;
}

static bool write_canvas(const char *dir, const char *name, const Canvas *c, bool dither) {
    char path[1024];
    if (dir)
        snprintf(path, sizeof path, "%s/%s", dir, name);
    else
        snprintf(path, sizeof path, "%s", name);
    unsigned char *px = canvas_to_rgba8(c, dither);
    bool ok = write_png(path, c->w, c->h, px);
    free(px);
    return ok;
}

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: fathomer_datagen <bin dir> [contact sheet png] | --icon <path.ico>\n");
        return 2;
    }
    // Identical output on every run: the encoder's settings are pinned here.
    stbi_write_png_compression_level = 9;
    stbi_write_force_png_filter = -1;
    if (strcmp(argv[1], "--icon") == 0) return argc > 2 && write_icon(argv[2]) ? 0 : 2;

    Fonts fonts;
    if (!font_load(&fonts.regular, FONT_REGULAR) || !font_load(&fonts.bold, FONT_BOLD)) {
        fprintf(stderr, "datagen: cannot read the DejaVu fonts\n");
        return 1;
    }
    char img[1024], audio[1024];
    snprintf(img, sizeof img, "%s/img", argv[1]);
    snprintf(audio, sizeof audio, "%s/audio", argv[1]);

    Canvas sprites = canvas_create(SHEET_SPRITES_W, SHEET_SPRITES_H);
    draw_diver_rows(&sprites);
    draw_pickups(&sprites);
    draw_hazards(&sprites);
    draw_effects(&sprites);
    draw_surface(&sprites);
    draw_prompt(&sprites, &fonts);
    draw_opening(&sprites, &fonts);
    bool ok = write_canvas(img, "default.png", &sprites, false);

    Canvas backgrounds = canvas_create(SHEET_BACKGROUND_W, SHEET_BACKGROUND_H);
    draw_backgrounds(&backgrounds);
    ok = ok && write_canvas(img, "background.png", &backgrounds, true);

    ok = ok && write_font_images(img, &fonts);
    char icon[1100];
    snprintf(icon, sizeof icon, "%s/icon.png", img);
    ok = ok && write_icon_png(icon);
    ok = ok && write_sounds(audio);

    if (ok && argc > 2) {
        Canvas sheet = draw_contact_sheet(&sprites, &backgrounds, &fonts);
        ok = write_canvas(nullptr, argv[2], &sheet, false);
        canvas_free(&sheet);
    }
    canvas_free(&sprites);
    canvas_free(&backgrounds);
    return ok ? 0 : 1;
}
