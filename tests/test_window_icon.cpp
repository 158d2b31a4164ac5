// The icon checks every backend shares and the filter behind the small icon.
#include <doctest/doctest.h>

#include <vector>

#include "os/backend.h"

namespace {

std::vector<u8> shrink(const std::vector<u8> &rgba, i32 width, i32 height, i32 out_width, i32 out_height) {
    std::vector<u8> out((size_t)out_width * out_height * 4, 0xEE);
    icon_box_filter(rgba.data(), width, height, out.data(), out_width, out_height);
    return out;
}

std::vector<u8> pixel_at(const std::vector<u8> &rgba, i32 width, i32 x, i32 y) {
    const u8 *p = &rgba[((size_t)y * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

}  // namespace

TEST_CASE("os_set_window_icon refuses a closed window, missing pixels and sides out of range before the system sees them") {
    std::vector<u8> pixels(4 * 1025 * 4, 0xFF);
    CHECK_FALSE(os_set_window_icon(nullptr, pixels.data(), 4, 4));
    Window closed = {};
    CHECK_FALSE(os_set_window_icon(&closed, pixels.data(), 4, 4));
    // An open record with no system window behind it: a call that got past
    // the checks would reach the backend with nothing to act on.
    Window open = {};
    open.flags = WINDOW_OPEN;
    CHECK_FALSE(os_set_window_icon(&open, nullptr, 4, 4));
    CHECK_FALSE(os_set_window_icon(&open, pixels.data(), 0, 4));
    CHECK_FALSE(os_set_window_icon(&open, pixels.data(), 4, 0));
    CHECK_FALSE(os_set_window_icon(&open, pixels.data(), -4, 4));
    CHECK_FALSE(os_set_window_icon(&open, pixels.data(), 4, -1));
    CHECK_FALSE(os_set_window_icon(&open, pixels.data(), OS_WINDOW_ICON_MAX_SIDE + 1, 4));
    CHECK_FALSE(os_set_window_icon(&open, pixels.data(), 4, OS_WINDOW_ICON_MAX_SIDE + 1));
}

TEST_CASE("the box filter averages each output pixel's own source pixels, rounded") {
    // 4 x 4 to 2 x 2: each quadrant's mean; the top-left one rounds 2.5 up.
    std::vector<u8> rgba(4 * 4 * 4);
    for (i32 y = 0; y < 4; y++)
        for (i32 x = 0; x < 4; x++) {
            u8 *p = &rgba[((size_t)y * 4 + x) * 4];
            p[0] = (u8)(x + y * 4);    // 0..15
            p[1] = (u8)(x < 2 ? 10 : 200);
            p[2] = (u8)(y < 2 ? 0 : 255);
            p[3] = 255;
        }
    std::vector<u8> out = shrink(rgba, 4, 4, 2, 2);
    CHECK(pixel_at(out, 2, 0, 0) == std::vector<u8>{3, 10, 0, 255});     // (0+1+4+5)/4 = 2.5
    CHECK(pixel_at(out, 2, 1, 0) == std::vector<u8>{5, 200, 0, 255});    // 4.5
    CHECK(pixel_at(out, 2, 0, 1) == std::vector<u8>{11, 10, 255, 255});  // 10.5
    CHECK(pixel_at(out, 2, 1, 1) == std::vector<u8>{13, 200, 255, 255});

    // Sides that do not divide: 5 to 2 takes columns 0-1 and 2-4, each once.
    std::vector<u8> row(5 * 4, 255);
    for (size_t i = 0; i < row.size(); i++)
        if (i % 4 != 3) row[i] = (u8)(10 * (i / 4 + 1));
    out = shrink(row, 5, 1, 2, 1);
    CHECK(pixel_at(out, 2, 0, 0) == std::vector<u8>{15, 15, 15, 255});
    CHECK(pixel_at(out, 2, 1, 0) == std::vector<u8>{40, 40, 40, 255});
}

TEST_CASE("the box filter weights colour by alpha, keeps clear areas clear and repeats pixels when growing") {
    // A clear pixel's colour does not bleed into the edge it shares a box with.
    std::vector<u8> edge = {255, 0, 0, 255, 0, 255, 0, 0, 200, 100, 0, 64, 0, 0, 0, 0};
    std::vector<u8> out = shrink(edge, 2, 1, 1, 1);
    CHECK(pixel_at(out, 1, 0, 0) == std::vector<u8>{255, 0, 0, 128});
    out = shrink(edge, 4, 1, 1, 1);
    // (255 * 255 + 200 * 64) / 319 = 244, (100 * 64) / 319 = 20, alpha 319 / 4 = 80.
    CHECK(pixel_at(out, 1, 0, 0) == std::vector<u8>{244, 20, 0, 80});
    std::vector<u8> clear = {9, 9, 9, 0, 9, 9, 9, 0};
    out = shrink(clear, 2, 1, 1, 1);
    CHECK(pixel_at(out, 1, 0, 0) == std::vector<u8>{0, 0, 0, 0});

    // Growing 2 x 2 to 4 x 3: every output pixel is a copy of the one it lies on.
    std::vector<u8> four = {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 128};
    out = shrink(four, 2, 2, 4, 3);
    for (i32 y = 0; y < 3; y++)
        for (i32 x = 0; x < 4; x++) {
            CAPTURE(x);
            CAPTURE(y);
            CHECK(pixel_at(out, 4, x, y) == pixel_at(four, 2, x * 2 / 4, y * 2 / 3));
        }
}
