// Reference scenes drawn by the real renderer in a real context and read back.
#include <doctest/doctest.h>
#include <math.h>
#include <string.h>

#include <string>

#include "os/memory.h"
#include "render/font.h"
#include "render/graphics_init.h"
#include "render/renderer.h"
#include "render/texture_array.h"
#include "tests/window_test_support.h"
#include "tests/windowed/render_gl_window.h"

TEST_SUITE_BEGIN("desktop");

struct Rgba8 {
    u8 r, g, b, a;
};

struct Rgb {
    int r, g, b;
};

static const Rgb BACKGROUND = {46, 59, 58};
static const Rgb RED = {255, 0, 0}, GREEN = {0, 255, 0}, BLUE = {0, 0, 255}, WHITE = {255, 255, 255};

static Window *scene_window;
static u32 scene_texture;
static Glyph scene_glyphs[256];

static void set_texels(Image *image, u32 x0, u32 y0, u32 w, u32 h, Rgb c) {
    for (u32 y = y0; y < y0 + h; y++)
        for (u32 x = x0; x < x0 + w; x++) {
            u8 *p = image->pixels + ((u64)y * image->width + x) * 4;
            p[0] = (u8)c.r;
            p[1] = (u8)c.g;
            p[2] = (u8)c.b;
            p[3] = 255;
        }
}

static Image blank_image(u32 width, u32 height) {
    Image image = {width, height, (u8 *)os_alloc_zeroed((u64)width * height * 4), 0};
    return image;
}

// Layer 0: a 32 x 16 sprite in four coloured quadrants at (0, 0) and a white
// 16 x 16 block at (64, 0).  Layer 2 at x 512: a font with 'A' and 'B'.
static void upload_scene_textures() {
    create_texture_array();
    Image sheet = blank_image(128, 32);
    set_texels(&sheet, 0, 0, 16, 8, RED);
    set_texels(&sheet, 16, 0, 16, 8, GREEN);
    set_texels(&sheet, 0, 8, 16, 8, BLUE);
    set_texels(&sheet, 16, 8, 16, 8, WHITE);
    set_texels(&sheet, 64, 0, 16, 16, WHITE);
    REQUIRE(upload_image(&sheet, 0, 0));

    Image font_image = blank_image(256, 256);
    set_texels(&font_image, 16 + 2, 64 + 3, 4, 6, WHITE);  // 'A': row 4, column 1
    set_texels(&font_image, 32 + 1, 64 + 1, 3, 8, WHITE);  // 'B': row 4, column 2
    Font font = {nullptr, 16, 5, 0, 0};
    build_font_glyphs(&font_image, &font);
    REQUIRE(font.glyphs);
    memcpy(scene_glyphs, font.glyphs, sizeof(scene_glyphs));
    os_free(font.glyphs);
    for (Glyph &g : scene_glyphs) g.x = (u16)(g.x + 512);
    REQUIRE(upload_image(&font_image, 512, 2));
}

// The renderer and texture array of the test window, built once per process
// (other tests replace the slots and the renderer record in between).
static bool prepare_scene() {
    Window *w = render_test_gl_window();
    if (!w) return false;
    if (renderer.window != w || !renderer.instance_memory) {
        renderer = Renderer{};
        init_renderer(w);
    }
    if (scene_window != w) {
        upload_scene_textures();
        scene_window = w;
        scene_texture = texture_array.name;
    }
    texture_array.name = scene_texture;
    font_bigger = Font{scene_glyphs, 16, 5, 0, 2};
    return renderer.shader.program != 0;
}

static void start_frame() {
    begin_frame();
    glUseProgram(renderer.shader.program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D_ARRAY, scene_texture);
    Camera camera = {{(f32)scene_window->client_size.width, (f32)scene_window->client_size.height}, 0, 1};
    set_frame_uniforms(&camera, 0);
    renderer.instance_buffer.count = 0;
}

static void push_quad(f32 x, f32 y, f32 w, f32 h, f32 ax, f32 ay, f32 rotation, u16 tx, u16 ty, u16 tw, u16 th,
                      Rgba8 tint, Rgba8 fill) {
    SpriteInstance *s = push_instance();
    memset(s, 0, sizeof(*s));
    s->position[0] = x;
    s->position[1] = y;
    s->size[0] = w;
    s->size[1] = h;
    s->anchor[0] = ax;
    s->anchor[1] = ay;
    s->rotation = rotation;
    memcpy(s->tint, &tint, 4);
    memcpy(s->fill_color, &fill, 4);
    s->tex_x = tx;
    s->tex_y = ty;
    s->tex_w = tw;
    s->tex_h = th;
    s->layer = 0;
}

static void push_square(f32 x, f32 y, f32 size, Rgba8 fill) {
    push_quad(x, y, size, size, 0, 0, 0, 0, 0, 0, 0, Rgba8{255, 255, 255, 255}, fill);
}

// The pixel at (x, y) from the top-left of the client area, before the swap.
static Rgb read_pixel(int x, int y) {
    u8 p[4] = {};
    glReadPixels(x, scene_window->client_size.height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgb{p[0], p[1], p[2]};
}

static bool close_to(Rgb a, Rgb b) { return abs(a.r - b.r) <= 2 && abs(a.g - b.g) <= 2 && abs(a.b - b.b) <= 2; }

static std::string text_of(Rgb c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

#define CHECK_PIXEL(x, y, expected)                                  \
    do {                                                             \
        Rgb got_ = read_pixel(x, y);                                 \
        INFO("pixel (" << (x) << ", " << (y) << ") is " << text_of(got_)); \
        CHECK(close_to(got_, expected));                                 \
    } while (0)

TEST_CASE("scene: solid squares, the collision-box way") {
    REQUIRE(prepare_scene());
    start_frame();
    push_square(20, 20, 40, Rgba8{255, 0, 0, 255});
    push_square(23, 23, 34, Rgba8{255, 255, 255, 255});
    draw_instances();
    CHECK_PIXEL(10, 10, BACKGROUND);
    CHECK_PIXEL(20, 20, RED);
    CHECK_PIXEL(21, 40, RED);
    CHECK_PIXEL(59, 59, RED);
    CHECK_PIXEL(60, 60, BACKGROUND);
    CHECK_PIXEL(23, 23, WHITE);
    CHECK_PIXEL(40, 40, WHITE);
    CHECK_PIXEL(56, 56, WHITE);
}

TEST_CASE("scene: a textured sprite upright and rotated about its anchor") {
    REQUIRE(prepare_scene());
    start_frame();
    const Rgba8 plain = {255, 255, 255, 255}, none = {0, 0, 0, 0};
    // Upright, its top-left at (20, 100): the texel rectangle's top-left is the quad's.
    push_quad(20, 100, 32, 16, 0, 0, 0, 0, 0, 32, 16, plain, none);
    // Centred on (150, 100) and turned a quarter: the top-left quadrant goes to the top right.
    push_quad(150, 100, 32, 16, 0.5f, 0.5f, 1.5707964f, 0, 0, 32, 16, plain, none);
    // Scaled twice, anchored at its bottom-right corner (100, 200).
    push_quad(100, 200, 64, 32, 1, 1, 0, 0, 0, 32, 16, plain, none);
    draw_instances();
    CHECK_PIXEL(24, 104, RED);
    CHECK_PIXEL(44, 104, GREEN);
    CHECK_PIXEL(24, 112, BLUE);
    CHECK_PIXEL(44, 112, WHITE);
    CHECK_PIXEL(53, 104, BACKGROUND);

    CHECK_PIXEL(154, 90, RED);
    CHECK_PIXEL(154, 110, GREEN);
    CHECK_PIXEL(146, 90, BLUE);
    CHECK_PIXEL(146, 110, WHITE);
    CHECK_PIXEL(160, 100, BACKGROUND);  // the turned quad is 16 wide
    CHECK_PIXEL(150, 118, BACKGROUND);  // and 32 high

    CHECK_PIXEL(40, 170, RED);
    CHECK_PIXEL(96, 196, WHITE);
    CHECK_PIXEL(101, 199, BACKGROUND);
}

TEST_CASE("scene: tinted and half-transparent sprites") {
    REQUIRE(prepare_scene());
    start_frame();
    const Rgba8 none = {0, 0, 0, 0};
    push_quad(10, 10, 16, 16, 0, 0, 0, 64, 0, 16, 16, Rgba8{255, 128, 0, 255}, none);
    push_quad(40, 10, 16, 16, 0, 0, 0, 64, 0, 16, 16, Rgba8{255, 255, 255, 128}, none);
    // Half-transparent white over a blue square.
    push_square(70, 10, 16, Rgba8{0, 0, 255, 255});
    push_quad(70, 10, 16, 16, 0, 0, 0, 64, 0, 16, 16, Rgba8{255, 255, 255, 128}, none);
    draw_instances();
    CHECK_PIXEL(18, 18, (Rgb{255, 128, 0}));
    // 128/255 of white over the clear colour.
    auto over = [](int src, int dst) { return (int)lround(src * (128 / 255.0) + dst * (1 - 128 / 255.0)); };
    CHECK_PIXEL(48, 18, (Rgb{over(255, 46), over(255, 59), over(255, 58)}));
    CHECK_PIXEL(78, 18, (Rgb{over(255, 0), over(255, 0), over(255, 255)}));
}

TEST_CASE("scene: a line of text") {
    REQUIRE(prepare_scene());
    start_frame();
    draw_text(20, 180, STR("AB"));
    CHECK(renderer.instance_buffer.count == 2);
    draw_instances();
    // 'A' is 4 x 6 with 3 rows above it; 'B' 3 x 8 with 1 row above, right after it.
    CHECK_PIXEL(20, 183, WHITE);
    CHECK_PIXEL(23, 188, WHITE);
    CHECK_PIXEL(20, 182, BACKGROUND);
    CHECK_PIXEL(20, 189, BACKGROUND);
    CHECK_PIXEL(24, 181, WHITE);
    CHECK_PIXEL(26, 188, WHITE);
    CHECK_PIXEL(27, 184, BACKGROUND);
    CHECK_PIXEL(24, 180, BACKGROUND);
}

TEST_CASE("scene: 2048 pushes are drawn and the 2049th is not") {
    REQUIRE(prepare_scene());
    start_frame();
    for (int i = 0; i < 2048; i++) push_square((f32)(i % 64) * 4, (f32)(i / 64) * 4, 2, Rgba8{0, 255, 0, 255});
    push_square(280, 200, 20, Rgba8{255, 0, 0, 255});
    CHECK(renderer.instance_buffer.count == 2048);
    draw_instances();
    CHECK_PIXEL(0, 0, GREEN);
    CHECK_PIXEL(2, 2, BACKGROUND);
    CHECK_PIXEL(252, 124, GREEN);  // the 2048th
    CHECK_PIXEL(285, 205, BACKGROUND);
}

TEST_CASE("scene: successive frames each draw their own instances") {
    REQUIRE(prepare_scene());
    const Rgba8 colours[5] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255},
                               {255, 0, 0, 255}};
    for (int frame = 0; frame < 5; frame++) {
        CAPTURE(frame);
        start_frame();
        // Filler in front so each frame's square sits at a different instance index.
        for (int i = 0; i < frame * 100; i++) push_square(300, 0, 1, Rgba8{0, 0, 0, 255});
        push_square(100, 100, 10, colours[frame]);
        draw_instances();
        Rgba8 c = colours[frame];
        CHECK_PIXEL(105, 105, (Rgb{c.r, c.g, c.b}));
    }
}

TEST_CASE("init_graphics starts a real context: version, shown window, start-up lines, renderer") {
    Window *w = render_test_gl_window();
    REQUIRE(w);
    int version = render_test_gl_version();
    CHECK(version >= 40400);
    CHECK(((w->flags & WINDOW_OPEN) != 0));
    CHECK(test_window_visible(w));  // created hidden, shown by init_graphics
    CHECK(renderer.shader.program != 0);
    CHECK(gl_max_texture_size >= 2048);
    const std::string &log = render_test_gl_start_log();
    std::string expected = std::string("[main_init:409] GPU: ") + (const char *)glGetString(GL_RENDERER) + ", " +
                           (const char *)glGetString(GL_VENDOR) + "\n[main_init:410] OpenGL: " +
                           (const char *)glGetString(GL_VERSION) + " " + std::to_string(version) +
                           "\n[main_init:414] Max texture " + std::to_string(gl_max_texture_size) + "\n";
    CHECK(log == expected);
}

TEST_SUITE_END();
