#include <doctest/doctest.h>
#include <string.h>

#include <string>

#include "os/memory.h"
#include "render/font.h"
#include "render/load_textures.h"
#include "render/sprite_frames.h"
#include "tests/render_fake_gl.h"
#include "tests/stdout_capture.h"

// Start-up's picture loading with the program's own image files beside the
// executable, against the recording GL.
TEST_CASE("load_textures fills the array, the fonts and the sprite table from the six images") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    Sprite saved_table[SPRITE_TABLE_ROWS];
    memcpy(saved_table, sprite_table, sizeof(saved_table));
    Font *fonts[4] = {&font_small, &font_small_bold, &font_bigger, &font_bigger_bold};
    Font saved_fonts[4];
    for (int i = 0; i < 4; i++) saved_fonts[i] = *fonts[i];

    install_fake_gl();
    capture_stdout_begin();
    load_textures();
    std::string log = capture_stdout_end();

    CHECK(fake_gl_find("glTexImage3D(0x8C1A, 0, 0x1908, 2048, 2048, 3, 0, 0x1908, 0x1401)") >= 0);
    CHECK(fake_gl_count("glTexParameteri(0x2801, 0x2600)") == 1);  // nearest, no mipmaps
    CHECK(fake_gl_count("glTexParameteri(0x8072, 0x812F)") == 1);  // clamped in r too
    const char *files[6] = {"default", "background", "small", "small_bold", "bigger", "bigger_bold"};
    const int x_offsets[6] = {0, 0, 0, 256, 512, 768};
    const int layers[6] = {0, 1, 2, 2, 2, 2};
    REQUIRE(fake_gl.uploads.size() == 6);
    size_t at = 0;
    for (int i = 0; i < 6; i++) {
        CAPTURE(files[i]);
        const FakeTexUpload &u = fake_gl.uploads[i];
        CHECK(u.x == x_offsets[i]);
        CHECK(u.layer == layers[i]);
        CHECK(u.y == 2048 - u.height);
        std::string line = "img/" + std::string(files[i]) + ".png) " + std::to_string(u.width) + "x" +
                           std::to_string(u.height) + "\n";
        at = log.find(line, at);
        CHECK(at != std::string::npos);
    }
    CHECK(fake_gl.halts == 0);

    const Sprite &r40 = sprite_table[40];
    CHECK((r40.x == 0 && r40.y == 0 && r40.w == 1024 && r40.h == 576 && r40.layer == 1));
    CHECK((int)sprite_table[37].layer == 0);
    for (int i = 0; i < 4; i++) {
        CAPTURE(i);
        REQUIRE(fonts[i]->glyphs);
        CHECK(fonts[i]->layer == 2);
        Glyph a = fonts[i]->glyphs['A'];
        CHECK(a.width > 0);
        CHECK(a.x >= x_offsets[i + 2]);
        CHECK(a.x < x_offsets[i + 2] + 256);
        CHECK(fonts[i]->glyphs[' '].width == fonts[i]->space_width);
        os_free(fonts[i]->glyphs);
        *fonts[i] = saved_fonts[i];
    }
    memcpy(sprite_table, saved_table, sizeof(saved_table));
    sprite_sheet_placement = Sprite{};
    background_sheet_placement = Sprite{};
    remove_fake_gl();
}
