#include <doctest/doctest.h>
#include <string.h>

#include <string>
#include <vector>

#include "os/memory.h"
#include "render/font.h"
#include "render/renderer.h"
#include "tests/render_fake_gl.h"

// A transparent font image of width x height with inked pixels set by ink().
struct TestFontImage {
    std::vector<u8> pixels;
    Image image;
    TestFontImage(u32 width, u32 height) : pixels((size_t)width * height * 4, 0) {
        image = Image{width, height, pixels.data(), 0};
    }
    void ink(u32 x, u32 y) { pixels[((size_t)y * image.width + x) * 4 + 3] = 255; }
};

static Glyph glyph(const Font &f, int code) { return f.glyphs[code]; }

static bool same(const Glyph &g, u16 x, u16 y, u8 w, u8 h, u8 top) {
    return g.x == x && g.y == y && g.width == w && g.height == h && g.top == top;
}

TEST_CASE("the glyph scan finds each cell's ink") {
    TestFontImage img(256, 256);  // 16 x 16-pixel cells
    // 'A' (row 4, column 1): ink spanning columns 18..21, rows 66..75.
    for (u32 y = 66; y <= 75; y++) img.ink(18, y);
    img.ink(21, 70);
    // 'B' (row 4, column 2): one pixel at the cell's bottom-right corner.
    img.ink(32 + 15, 64 + 15);
    // 'C' (row 4, column 3): ink only in its top-left pixel.
    img.ink(48, 64);
    Font font = {nullptr, 16, 4, -1, 0};
    build_font_glyphs(&img.image, &font);
    REQUIRE(font.glyphs);
    CHECK(same(glyph(font, 'A'), 18, 66, 4, 10, 2));
    CHECK(same(glyph(font, 'B'), 47, 79, 1, 1, 15));
    CHECK(same(glyph(font, 'C'), 48, 64, 1, 1, 0));
    CHECK(same(glyph(font, ' '), 0, 0, 4, 0, 0));  // a blank space advances by space_width
    CHECK(same(glyph(font, 'D'), 0, 0, 0, 0, 0));  // a blank cell is the zero glyph
    CHECK(same(glyph(font, 0), 0, 0, 0, 0, 0));
    os_free(font.glyphs);
}

TEST_CASE("an inked space keeps its own ink, and cells follow the image size") {
    TestFontImage img(128, 64);  // 8 x 4-pixel cells
    img.ink(0 * 8 + 1, 2 * 4 + 3);  // code 32 is row 2, column 0
    img.ink(15 * 8 + 7, 15 * 4 + 3);  // code 255, its bottom-right corner
    Font font = {nullptr, 16, 5, 0, 0};
    build_font_glyphs(&img.image, &font);
    REQUIRE(font.glyphs);
    CHECK(same(glyph(font, ' '), 1, 11, 1, 1, 3));
    CHECK(same(glyph(font, 255), 127, 63, 1, 1, 3));
    os_free(font.glyphs);

    // Too small for a cell: nothing is ink, only the space has a width.
    TestFontImage tiny(15, 15);
    tiny.ink(0, 0);
    build_font_glyphs(&tiny.image, &font);
    REQUIRE(font.glyphs);
    CHECK(same(glyph(font, ' '), 0, 0, 5, 0, 0));
    CHECK(same(glyph(font, 0), 0, 0, 0, 0, 0));
    os_free(font.glyphs);
}

// The bigger font with a hand-made table: 'A' and 'B' 6 x 9 at top 3, '.' zero.
struct TextFixture {
    Glyph glyphs[256] = {};
    Font saved = font_bigger;
    u8 instances[2048 * 49];
    TextFixture() {
        glyphs['A'] = Glyph{512 + 10, 20, 6, 9, 3};
        glyphs['B'] = Glyph{512 + 30, 20, 7, 9, 2};
        glyphs[' '] = Glyph{0, 0, 5, 0, 0};
        font_bigger = Font{glyphs, 16, 5, -1, 2};
        renderer.instance_buffer = GlBuffer{0, 0, 2048, 49, 0, instances};
    }
    ~TextFixture() {
        font_bigger = saved;
        renderer.instance_buffer = GlBuffer{};
    }
    SpriteInstance at(u32 i) {
        SpriteInstance s;
        memcpy(&s, instances + i * 49, 49);
        return s;
    }
};

TEST_CASE("draw_text lays out glyphs along the pen, line feeds return it") {
    TextFixture t;
    draw_text(10, 10, STR(""));
    CHECK(renderer.instance_buffer.count == 0);

    draw_text(10, 10, STR("A\nB"));
    REQUIRE(renderer.instance_buffer.count == 2);
    SpriteInstance a = t.at(0), b = t.at(1);
    CHECK((a.position[0] == 10 && a.position[1] == 13 && a.position[2] == 0));
    CHECK((a.size[0] == 6 && a.size[1] == 9));
    CHECK((a.tex_x == 522 && a.tex_y == 20 && a.tex_w == 6 && a.tex_h == 9 && a.layer == 2));
    CHECK((a.tint[0] == 255 && a.tint[1] == 255 && a.tint[2] == 255 && a.tint[3] == 255));
    CHECK((a.fill_color[3] == 0 && a.anchor[0] == 0 && a.rotation == 0));
    CHECK((b.position[0] == 10 && b.position[1] == 26 + 2));

    // Every byte but the line feed takes a slot; the pen moves by width + spacing.
    renderer.instance_buffer.count = 0;
    draw_text(0, 0, STR("A.B A"));
    REQUIRE(renderer.instance_buffer.count == 5);
    CHECK(t.at(1).position[0] == 5);   // after 'A': 6 - 1
    CHECK(t.at(1).size[0] == 0);       // '.' has no glyph: a zero quad
    CHECK(t.at(2).position[0] == 4);   // the zero glyph advanced by spacing alone
    CHECK(t.at(3).position[0] == 10);  // after 'B': 7 - 1
    CHECK(t.at(4).position[0] == 14);  // after the space: 5 - 1
}

TEST_CASE("draw_text stops when the batch is full") {
    TextFixture t;
    renderer.instance_buffer.count = 2047;
    memset(&scratch_instance, 0x77, sizeof(scratch_instance));
    draw_text(0, 0, STR("AB"));
    CHECK(renderer.instance_buffer.count == 2048);
    CHECK(t.at(2047).tex_x == 522);
    u8 untouched[49];
    memset(untouched, 0x77, sizeof(untouched));
    CHECK(memcmp(&scratch_instance, untouched, 49) == 0);  // 'B' was not even written

    // Without a glyph table nothing is drawn.
    font_bigger.glyphs = nullptr;
    renderer.instance_buffer.count = 0;
    draw_text(0, 0, STR("AB"));
    CHECK(renderer.instance_buffer.count == 0);
}

TEST_CASE("draw_hud formats its three lines at (10, 10)") {
    TextFixture t;
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    draw_hud(12.5, 3.25, 87.46);
    const char *text = "Depth: 12.500000\nSpeed 3.250000\nHope 87.5 %";
    u32 expected = (u32)strlen(text) - 2;  // the two line feeds push nothing
    CHECK(renderer.instance_buffer.count == expected);
    CHECK(t.at(0).position[0] == 10);
    // The first glyph of the third line: 'H' has no glyph, so its pen is what counts.
    u32 third_line = (u32)strlen("Depth: 12.500000") + (u32)strlen("Speed 3.250000");
    CHECK(t.at(third_line).position[0] == 10);
    CHECK(t.at(third_line).position[1] == 42);
}
