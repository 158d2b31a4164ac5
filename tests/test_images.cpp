#include <doctest/doctest.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "os/files.h"
#include "os/memory.h"
#include "render/sprite_frames.h"
#include "render/texture_array.h"
#include "tests/stdout_capture.h"
#include "tests/render_fake_gl.h"
#include "tools/png_writer.h"

static void append_bytes(void *context, void *data, int size) {
    std::vector<u8> *out = (std::vector<u8> *)context;
    out->insert(out->end(), (u8 *)data, (u8 *)data + size);
}

// An RGBA PNG whose pixel (x, y) is (x, y, 7, 255).
static std::vector<u8> make_png(int width, int height) {
    std::vector<u8> pixels((size_t)width * height * 4);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            u8 *p = &pixels[((size_t)y * width + x) * 4];
            p[0] = (u8)x;
            p[1] = (u8)y;
            p[2] = 7;
            p[3] = 255;
        }
    std::vector<u8> png;
    stbi_write_png_to_func(append_bytes, &png, width, height, 4, pixels.data(), width * 4);
    return png;
}

// Writes bytes beside the executable; the full path.
static std::string write_beside_exe(const char *name, const std::vector<u8> &bytes) {
    Str dir = os_get_exe_dir();
    std::string path(dir.data, dir.len);
    path += name;
    FILE *f = fopen(path.c_str(), "wb");
    REQUIRE(f);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return path;
}

static Image solid_image(u32 width, u32 height) {
    Image image = {width, height, (u8 *)os_alloc((u64)width * height * 4), 0};
    for (u32 i = 0; i < width * height; i++) memcpy(image.pixels + i * 4, &i, 4);
    return image;
}

static u32 pixel(const u8 *pixels, u32 width, u32 x, u32 y) {
    u32 v;
    memcpy(&v, pixels + ((u64)y * width + x) * 4, 4);
    return v;
}

TEST_CASE("pixel buffers are the next power of two of the decoded size") {
    CHECK(image_capacity_for(4) == 4);
    CHECK(image_capacity_for(40000) == 65536);
    CHECK(image_capacity_for(2359296) == 4194304);
    CHECK(image_capacity_for(1048576) == 1048576);

    std::vector<u8> one = make_png(1, 1);
    Image a = decode_image(one.data(), one.size());
    CHECK((a.width == 1 && a.height == 1 && a.capacity == 4));
    CHECK(pixel(a.pixels, 1, 0, 0) == 0xFF070000u);
    os_free(a.pixels);

    std::vector<u8> hundred = make_png(100, 100);
    Image b = decode_image(hundred.data(), hundred.size());
    CHECK((b.width == 100 && b.height == 100 && b.capacity == 65536));
    CHECK(pixel(b.pixels, 100, 37, 99) == 0xFF076325u);
    os_free(b.pixels);
}

TEST_CASE("load_image reads beside the executable and logs the full path") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    std::string path = write_beside_exe("render_test_image.png", make_png(3, 2));
    capture_stdout_begin();
    Image image = load_image(STR("render_test_image.png"), 2048, 2048);
    std::string log = capture_stdout_end();
    CHECK((image.width == 3 && image.height == 2 && image.capacity == 32));
    REQUIRE(image.pixels);
    CHECK(pixel(image.pixels, 3, 2, 1) == 0xFF070102u);
    os_free(image.pixels);
    CHECK(log.rfind("[load_image:", 0) == 0);
    CHECK(log.find("] Loaded image (" + path + ") 3x2\n") != std::string::npos);
    remove(path.c_str());
}

TEST_CASE("missing, short and undecodable files give the zero image without a word") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    std::vector<u8> png = make_png(4, 4);
    std::vector<u8> eight(png.begin(), png.begin() + 8);  // just the signature
    std::vector<u8> truncated(png.begin(), png.begin() + 30);
    std::vector<u8> garbage(200, 0x5A);
    std::string p8 = write_beside_exe("render_test_8.png", eight);
    std::string pt = write_beside_exe("render_test_cut.png", truncated);
    std::string pg = write_beside_exe("render_test_junk.png", garbage);
    capture_stdout_begin();
    Image missing = load_image(STR("render_test_no_such.png"), 2048, 2048);
    Image short_file = load_image(STR("render_test_8.png"), 2048, 2048);
    Image cut = load_image(STR("render_test_cut.png"), 2048, 2048);
    Image junk = load_image(STR("render_test_junk.png"), 2048, 2048);
    std::string log = capture_stdout_end();
    for (const Image &i : {missing, short_file, cut, junk}) {
        CHECK(i.pixels == nullptr);
        CHECK((i.width == 0 && i.height == 0 && i.capacity == 0));
    }
    CHECK(log == "");
    remove(p8.c_str());
    remove(pt.c_str());
    remove(pg.c_str());
}

// A 4x4 PNG whose header claims width x height: a decompression bomb's shape.
static std::vector<u8> png_claiming(u32 width, u32 height) {
    std::vector<u8> png = make_png(4, 4);
    for (int i = 0; i < 4; i++) {
        png[16 + i] = (u8)(width >> (24 - 8 * i));
        png[20 + i] = (u8)(height >> (24 - 8 * i));
    }
    return png;
}

TEST_CASE("an image whose header claims more than the limit is not decoded, and its size comes back") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    std::string bomb = write_beside_exe("render_test_bomb.png", png_claiming(16000, 16000));
    std::string wide = write_beside_exe("render_test_wide.png", png_claiming(257, 4));
    capture_stdout_begin();
    Image a = load_image(STR("render_test_bomb.png"), 2048, 2048);
    Image b = load_image(STR("render_test_wide.png"), 256, 2048);
    Image c = load_image(STR("render_test_wide.png"), 257, 3);
    std::string log = capture_stdout_end();
    CHECK((a.width == 16000 && a.height == 16000 && !a.pixels && a.capacity == 0));
    CHECK((b.width == 257 && b.height == 4 && !b.pixels));
    CHECK((c.width == 257 && c.height == 4 && !c.pixels));
    CHECK(log == "");
    // At the limit the claim is believed and decoding fails on the 4x4 data.
    capture_stdout_begin();
    Image d = load_image(STR("render_test_wide.png"), 257, 4);
    capture_stdout_end();
    CHECK((d.width == 0 && !d.pixels));
    u32 w = 0, h = 0;
    std::vector<u8> png = make_png(5, 3);
    CHECK(read_image_size(png.data(), png.size(), &w, &h));
    CHECK((w == 5 && h == 3));
    CHECK_FALSE(read_image_size(png.data(), 8, &w, &h));
    remove(bomb.c_str());
    remove(wide.c_str());
}

static void put_u32_be(std::vector<u8> &out, u32 v) {
    for (int i = 0; i < 4; i++) out.push_back((u8)(v >> (24 - 8 * i)));
}

static void put_chunk(std::vector<u8> &out, const char *type, const std::vector<u8> &body, u32 claimed) {
    put_u32_be(out, claimed);
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put_u32_be(out, 0);  // the decoder does not check sums
}

// An RGBA PNG of width x height whose pixel data, filter bytes included, is
// raw, compressed; its IDAT may claim another length.
static std::vector<u8> png_from_raw(u32 width, u32 height, const std::vector<u8> &raw, u32 idat_claim = 0) {
    std::vector<u8> png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    std::vector<u8> header;
    put_u32_be(header, width);
    put_u32_be(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    put_chunk(png, "IHDR", header, 13);
    int packed_size = 0;
    u8 *packed = stbi_zlib_compress((u8 *)raw.data(), (int)raw.size(), &packed_size, 8);
    std::vector<u8> idat(packed, packed + packed_size);
    STBIW_FREE(packed);
    put_chunk(png, "IDAT", idat, idat_claim ? idat_claim : (u32)idat.size());
    put_chunk(png, "IEND", {}, 0);
    return png;
}

TEST_CASE("a small file cannot make the decoder allocate far past its picture") {
    // One pixel with exactly its data decodes.
    std::vector<u8> exact = {0, 1, 2, 3, 4};
    std::vector<u8> png = png_from_raw(1, 1, exact);
    Image one = decode_image(png.data(), png.size());
    REQUIRE(one.pixels);
    CHECK(pixel(one.pixels, 1, 0, 0) == 0x04030201u);
    os_free(one.pixels);
    // The same pixel followed by 4 MB of zeros that a few kilobytes inflate to.
    std::vector<u8> bomb_raw(4 << 20, 0);
    memcpy(bomb_raw.data(), exact.data(), exact.size());
    png = png_from_raw(1, 1, bomb_raw);
    CHECK(png.size() < 65536);
    Image bomb = decode_image(png.data(), png.size());
    CHECK((bomb.pixels == nullptr && bomb.width == 0));
    // An IDAT chunk claiming a gigabyte in a file of a hundred bytes.
    png = png_from_raw(1, 1, exact, 1u << 30);
    Image claim = decode_image(png.data(), png.size());
    CHECK((claim.pixels == nullptr && claim.width == 0));
    // The largest picture that fits a layer still decodes.
    std::vector<u8> big_raw((size_t)2048 * (2048 * 4 + 1), 0);
    png = png_from_raw(2048, 2048, big_raw);
    Image big = decode_image(png.data(), png.size());
    CHECK((big.width == 2048 && big.height == 2048 && big.pixels != nullptr));
    os_free(big.pixels);
}

TEST_CASE("the decoder's assertion line names the function, line and condition, then halts") {
    install_fake_gl();
    capture_stdout_begin();
    image_decoder_assert_failed("stbi__parse_png_file", 4711, "z->img_n <= 4");
    std::string log = capture_stdout_end();
    CHECK(log == "* STBI_ASSERT * [stbi__parse_png_file:4711] - (z->img_n <= 4)\n");
    CHECK(fake_gl.halts == 1);
    remove_fake_gl();
}

TEST_CASE("turning an image over keeps an odd middle row in place") {
    Image image = solid_image(2, 5);
    flip_image_rows(&image);
    const u32 expected_rows[5] = {4, 3, 2, 1, 0};
    for (u32 y = 0; y < 5; y++)
        for (u32 x = 0; x < 2; x++) CHECK(pixel(image.pixels, 2, x, y) == expected_rows[y] * 2 + x);
    os_free(image.pixels);

    Image one_row = solid_image(3, 1);
    flip_image_rows(&one_row);
    CHECK(pixel(one_row.pixels, 3, 2, 0) == 2);
    os_free(one_row.pixels);
}

TEST_CASE("upload_image places the image against the top of its layer, turned over") {
    install_fake_gl();
    texture_array.name = 9;
    Image image = solid_image(64, 3);
    REQUIRE(upload_image(&image, 512, 2));
    CHECK(image.pixels == nullptr);
    REQUIRE(fake_gl.uploads.size() == 1);
    const FakeTexUpload &u = fake_gl.uploads[0];
    CHECK((u.x == 512 && u.y == 2045 && u.layer == 2 && u.width == 64 && u.height == 3));
    // GL rows run bottom-up: the first uploaded row is the file's last.
    CHECK(pixel(u.pixels.data(), 64, 5, 0) == 2 * 64 + 5);
    CHECK(pixel(u.pixels.data(), 64, 5, 2) == 5);
    CHECK(fake_gl_find("glBindTexture(0x8C1A, 9)") >= 0);
    remove_fake_gl();
}

TEST_CASE("an image larger than its place is skipped with a log line instead of a GL error") {
    install_fake_gl();
    struct Case {
        u32 width, height, x, layer;
        bool fits;
    } cases[] = {
        {2048, 2048, 0, 0, true}, {2049, 1, 0, 0, false}, {1, 2049, 0, 1, false},
        {248, 16, 1800, 2, true}, {249, 16, 1800, 2, false}, {1, 1, 0, 3, false},
    };
    for (const Case &c : cases) {
        CAPTURE(c.width);
        CAPTURE(c.x);
        Image image = solid_image(c.width, c.height);
        fake_gl.uploads.clear();
        capture_stdout_begin();
        bool uploaded = upload_image(&image, c.x, c.layer);
        std::string log = capture_stdout_end();
        CHECK(uploaded == c.fits);
        CHECK(image.pixels == nullptr);
        CHECK(fake_gl.uploads.size() == (c.fits ? 1u : 0u));
        if (!c.fits) {
            char line[96];
            snprintf(line, sizeof(line), "] Image %ux%u does not fit at x %u of layer %u: skipped\n", c.width,
                     c.height, c.x, c.layer);
            CHECK(log.rfind("[upload_image:", 0) == 0);
            CHECK(log.find(line) != std::string::npos);
        }
    }
    CHECK(fake_gl.halts == 0);
    remove_fake_gl();
}

TEST_CASE("animated sprites step through frames side by side") {
    const Sprite row10 = sprite_table[10];
    CHECK(sprite_frame_rect(&row10, 149).x == 480);
    CHECK(sprite_frame_rect(&row10, 150).x == 608);
    CHECK(sprite_frame_rect(&row10, 300).x == 480);
    SpriteRect r = sprite_frame_rect(&row10, 150);
    CHECK((r.y == 32 && r.w == 128 && r.h == 128));

    Sprite still = {100, 5, 20, 30, 0, 1, 50};
    CHECK(sprite_frame_rect(&still, 999).x == 100);
    Sprite wraps = {65530, 0, 10, 10, 0, 3, 1};
    CHECK(sprite_frame_rect(&wraps, 2).x == 14);  // 65530 + 20 in 16 bits
    Sprite no_time = {7, 0, 10, 10, 0, 2, 0};
    CHECK(sprite_frame_rect(&no_time, 5).x == 7);
}

TEST_CASE("a frame of a non-square strip steps by the frame width and keeps its own size") {
    const Sprite tall = {10, 20, 30, 50, 0, 3, 100};
    const u64 times[] = {0, 99, 100, 250, 300};
    const u16 lefts[] = {10, 10, 40, 70, 10};
    for (int i = 0; i < 5; i++) {
        SpriteRect r = sprite_frame_rect(&tall, times[i]);
        CAPTURE(times[i]);
        CHECK(r.x == lefts[i]);
        CHECK((r.y == 20 && r.w == 30 && r.h == 50));
    }
}

TEST_CASE("the fix-up moves sheet rows to their placements") {
    Sprite saved[SPRITE_TABLE_ROWS];
    memcpy(saved, sprite_table, sizeof(saved));
    Sprite saved_sheet = sprite_sheet_placement, saved_background = background_sheet_placement;

    sprite_sheet_placement = Sprite{0, 0, 0, 0, 0, 0, 0};
    background_sheet_placement = Sprite{0, 0, 0, 0, 1, 0, 0};
    fix_up_sprite_table();
    const Sprite &r40 = sprite_table[40];
    CHECK((r40.x == 0 && r40.y == 0 && r40.w == 1024 && r40.h == 576 && r40.layer == 1));
    for (int row = 0; row < SPRITE_TABLE_ROWS; row++) {
        CAPTURE(row);
        CHECK((int)sprite_table[row].x == (int)saved[row].x);
        CHECK((int)sprite_table[row].layer == (row >= 38 ? 1 : 0));
        CHECK((int)sprite_table[row].frame_count == (int)saved[row].frame_count);
    }

    // Placements add with 16-bit wrapping.
    memcpy(sprite_table, saved, sizeof(saved));
    sprite_sheet_placement = Sprite{65000, 10, 0, 0, 2, 0, 0};
    fix_up_sprite_table();
    CHECK((int)sprite_table[0].x == (u16)(1056 + 65000));
    CHECK((int)sprite_table[0].y == 74);
    CHECK((int)sprite_table[0].layer == 2);

    memcpy(sprite_table, saved, sizeof(saved));
    sprite_sheet_placement = saved_sheet;
    background_sheet_placement = saved_background;
}
