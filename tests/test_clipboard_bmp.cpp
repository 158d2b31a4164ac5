#include <doctest/doctest.h>

#include <string.h>
#include <vector>

#include "os/clipboard.h"
#include "tests/bmp_test_image.h"

static u32 get_u32(const char *p) {
    const u8 *b = (const u8 *)p;
    return (u32)b[0] | (u32)b[1] << 8 | (u32)b[2] << 16 | (u32)b[3] << 24;
}

static void check_decodes_to(const ClipboardData &bmp, const TestImage &image) {
    TestImage decoded = decode_bmp(bmp.data, bmp.len);
    CHECK(decoded.width == image.width);
    CHECK(decoded.height == image.height);
    CHECK(decoded.rgb == image.rgb);
}

TEST_CASE("a 24-bit DIB becomes a complete BMP file, with or without its image size") {
    TestImage image = test_image(3, 2);  // rows of 9 bytes padded to 12
    for (bool size_field : {true, false}) {
        std::vector<u8> dib = dib24(image, size_field);
        ClipboardData bmp = os_bmp_from_dib(dib.data(), dib.size());
        REQUIRE(bmp.len == 14 + 40 + 24);
        CHECK(memcmp(bmp.data, "BM", 2) == 0);
        CHECK(get_u32(bmp.data + 2) == 14 + 40 + 24);
        CHECK(get_u32(bmp.data + 6) == 0);
        CHECK(get_u32(bmp.data + 10) == 54);
        CHECK(memcmp(bmp.data + 14, dib.data(), dib.size()) == 0);
        CHECK(bmp.data[bmp.len] == 0);
        check_decodes_to(bmp, image);
        os_free_clipboard_data(&bmp);
        CHECK(bmp.len == 0);
        CHECK(bmp.data == nullptr);
    }
}

// An 8-bit DIB over a palette of `colours` entries (0: the full 256).
static std::vector<u8> dib8(const TestImage &image, u32 colours_used) {
    u32 entries = colours_used ? colours_used : 256;
    int row = (image.width + 3) / 4 * 4;
    size_t pixels_at = 40 + entries * 4;
    std::vector<u8> dib(pixels_at + (size_t)row * image.height, 0);
    put_u32(dib, 0, 40);
    put_u32(dib, 4, (u32)image.width);
    put_u32(dib, 8, (u32)image.height);
    dib[12] = 1;
    dib[14] = 8;
    put_u32(dib, 32, colours_used);
    for (int r = 0; r < image.height; r++)
        for (int x = 0; x < image.width; x++) {
            u32 index = (u32)(r * image.width + x) % entries;
            u32 c = image.rgb[(size_t)(image.height - 1 - r) * image.width + x];
            dib[pixels_at + (size_t)r * row + x] = (u8)index;
            dib[40 + index * 4 + 0] = (u8)c;
            dib[40 + index * 4 + 1] = (u8)(c >> 8);
            dib[40 + index * 4 + 2] = (u8)(c >> 16);
        }
    return dib;
}

TEST_CASE("the pixel offset of a palette DIB counts its colour table") {
    TestImage image = test_image(2, 2);
    for (u32 colours : {4u, 0u}) {
        std::vector<u8> dib = dib8(image, colours);
        ClipboardData bmp = os_bmp_from_dib(dib.data(), dib.size());
        u32 table = (colours ? colours : 256) * 4;
        CHECK(get_u32(bmp.data + 10) == 14 + 40 + table);
        CHECK(bmp.len == 14 + 40 + table + 8);
        check_decodes_to(bmp, image);
        os_free_clipboard_data(&bmp);
    }
}

// A top-down 32-bit DIB whose colour masks follow a 40-byte header, or lie
// inside a 124-byte one.
static std::vector<u8> dib32_masks(const TestImage &image, u32 header_size) {
    size_t pixels_at = header_size == 40 ? 52 : header_size;
    std::vector<u8> dib(pixels_at + (size_t)image.width * image.height * 4, 0);
    put_u32(dib, 0, header_size);
    put_u32(dib, 4, (u32)image.width);
    put_u32(dib, 8, (u32)-image.height);
    dib[12] = 1;
    dib[14] = 32;
    put_u32(dib, 16, 3);
    put_u32(dib, 40, 0x00ff0000);
    put_u32(dib, 44, 0x0000ff00);
    put_u32(dib, 48, 0x000000ff);
    for (size_t i = 0; i < image.rgb.size(); i++) put_u32(dib, pixels_at + i * 4, image.rgb[i]);
    return dib;
}

TEST_CASE("colour masks after a 40-byte header move the pixels, inside a version-5 header they do not") {
    TestImage image = test_image(3, 3);
    std::vector<u8> dib = dib32_masks(image, 40);
    ClipboardData bmp = os_bmp_from_dib(dib.data(), dib.size());
    CHECK(get_u32(bmp.data + 10) == 14 + 52);
    CHECK(bmp.len == 14 + 52 + 36);
    check_decodes_to(bmp, image);
    os_free_clipboard_data(&bmp);

    dib = dib32_masks(image, 124);
    bmp = os_bmp_from_dib(dib.data(), dib.size());
    CHECK(get_u32(bmp.data + 10) == 14 + 124);
    CHECK(bmp.len == 14 + 124 + 36);
    check_decodes_to(bmp, image);
    os_free_clipboard_data(&bmp);
}

TEST_CASE("a short or inconsistent DIB gives a bounded BMP or none") {
    TestImage image = test_image(4, 4);
    std::vector<u8> dib = dib24(image, true);
    // Cut short: the file header still tells the full size, the copy stops at the block.
    ClipboardData bmp = os_bmp_from_dib(dib.data(), 60);
    CHECK(bmp.len == 74);
    CHECK(get_u32(bmp.data + 2) == 14 + 40 + 48);
    os_free_clipboard_data(&bmp);

    CHECK(os_bmp_from_dib(dib.data(), 39).data == nullptr);
    put_u32(dib, 0, 200);  // header larger than the block
    CHECK(os_bmp_from_dib(dib.data(), 100).data == nullptr);
    put_u32(dib, 0, 40);
    dib[14] = 8;
    put_u32(dib, 32, 0x40000000);  // a colour table far past the block
    CHECK(os_bmp_from_dib(dib.data(), dib.size()).data == nullptr);

    ClipboardData none = {0, nullptr};
    os_free_clipboard_data(&none);
    CHECK(none.data == nullptr);
}

TEST_CASE("standard clipboard formats have their fixed names") {
    CHECK(str_equal(os_clipboard_standard_name(1), STR("TEXT")));
    CHECK(str_equal(os_clipboard_standard_name(13), STR("UNICODETEXT")));
    CHECK(str_equal(os_clipboard_standard_name(17), STR("DIBV5")));
    CHECK(str_equal(os_clipboard_standard_name(142), STR("DSPENHMETAFILE")));
    CHECK(str_equal(os_clipboard_standard_name(1023), STR("GDIOBJLAST")));
    CHECK(os_clipboard_standard_name(0).len == 0);
    CHECK(os_clipboard_standard_name(18).len == 0);
    CHECK(os_clipboard_standard_name(769).data == nullptr);
}
