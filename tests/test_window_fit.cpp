// Fitting a window to a small screen, the monitor a window is on, and the
// letterbox a fixed view is shown in: the arithmetic, without a window.
#include <doctest/doctest.h>

#include "os/system.h"
#include "os/window_ops.h"
#include "render/letterbox.h"

static bool same(Rect32 a, Rect32 b) { return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height; }

// Wine's frame around a 1280 x 800 client: 8 pixels each side, 31 of caption.
static const Size2i FRAME = {16, 39};

TEST_CASE("a client the work area holds keeps its size, centred") {
    CHECK(same(os_fitted_outer_rect(Rect32{0, 0, 1920, 1040}, Size2i{1280, 800}, FRAME), Rect32{312, 100, 1296, 839}));
    // Exactly as large as the work area still fits.
    CHECK(same(os_fitted_outer_rect(Rect32{10, 20, 1296, 839}, Size2i{1280, 800}, FRAME), Rect32{10, 20, 1296, 839}));
}

TEST_CASE("a client too large for the work area keeps its aspect and is centred, its title bar on the screen") {
    // 1024 x 768: the width limits, 1008 x 630 of client.
    Rect32 fitted = os_fitted_outer_rect(Rect32{0, 0, 1024, 768}, Size2i{1280, 800}, FRAME);
    CHECK(same(fitted, Rect32{0, 49, 1024, 669}));
    // 1366 x 728 above a taskbar: the height limits, 689 rows of client.
    fitted = os_fitted_outer_rect(Rect32{0, 0, 1366, 728}, Size2i{1280, 800}, FRAME);
    CHECK(same(fitted, Rect32{124, 0, 1102 + 16, 728}));
    // A work area that starts below a panel and right of a dock.
    fitted = os_fitted_outer_rect(Rect32{60, 30, 1000, 700}, Size2i{1280, 800}, FRAME);
    CHECK(fitted.y >= 30);
    CHECK(fitted.x >= 60);
    CHECK(fitted.x + fitted.width <= 1060);
    CHECK(fitted.y + fitted.height <= 730);
    // Only one side too large: still the same aspect.
    fitted = os_fitted_outer_rect(Rect32{0, 0, 2000, 700}, Size2i{1280, 800}, FRAME);
    CHECK(fitted.height == 700);
    CHECK(fitted.width - 16 == 661 * 1280 / 800);
}

TEST_CASE("without room for a client, or without a client, the window goes to the work area's corner as it is") {
    CHECK(same(os_fitted_outer_rect(Rect32{5, 6, 10, 10}, Size2i{1280, 800}, FRAME), Rect32{5, 6, 1296, 839}));
    CHECK(same(os_fitted_outer_rect(Rect32{0, 0, 0, 0}, Size2i{1280, 800}, FRAME), Rect32{0, 0, 1296, 839}));
    CHECK(same(os_fitted_outer_rect(Rect32{0, 0, 800, 600}, Size2i{0, 0}, FRAME), Rect32{0, 0, 16, 39}));
}

TEST_CASE("a window's monitor is the one it overlaps most, else the first") {
    Monitor monitors[2] = {};
    monitors[0].rect_size = {1920, 1080};
    monitors[1].rect_pos = {1920, 0};
    monitors[1].rect_size = {1280, 1024};
    CHECK(same(os_monitor_rect_for(monitors, 2, Rect32{100, 100, 800, 600}), Rect32{0, 0, 1920, 1080}));
    // Mostly on the second.
    CHECK(same(os_monitor_rect_for(monitors, 2, Rect32{1800, 100, 800, 600}), Rect32{1920, 0, 1280, 1024}));
    // On neither.
    CHECK(same(os_monitor_rect_for(monitors, 2, Rect32{-5000, 0, 100, 100}), Rect32{0, 0, 1920, 1080}));
    CHECK(same(os_monitor_rect_for(nullptr, 0, Rect32{0, 0, 1, 1}), Rect32{0, 0, 0, 0}));
}

static bool same(Letterbox a, Letterbox b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST_CASE("the view fills a window of its own size and is letterboxed in others") {
    const Size2i view = {1280, 800};
    Letterbox full = letterbox_for(Size2i{1280, 800}, view);
    CHECK(same(full, Letterbox{0, 0, 1280, 800}));
    CHECK(letterbox_fills(full, Size2i{1280, 800}));
    // The same aspect at another size fills it too.
    CHECK(same(letterbox_for(Size2i{1008, 630}, view), Letterbox{0, 0, 1008, 630}));
    // A 4:3 screen: bars above and below.
    Letterbox tall = letterbox_for(Size2i{1024, 768}, view);
    CHECK(same(tall, Letterbox{0, 64, 1024, 640}));
    CHECK_FALSE(letterbox_fills(tall, Size2i{1024, 768}));
    // 16:9: bars left and right.
    CHECK(same(letterbox_for(Size2i{1920, 1080}, view), Letterbox{96, 0, 1728, 1080}));
    // The other side rounds to the nearest pixel: 1366 x 768 gives 1228.8 wide.
    CHECK(same(letterbox_for(Size2i{1366, 768}, view), Letterbox{68, 0, 1229, 768}));
}

TEST_CASE("an empty window shows nothing, an empty view the whole window") {
    CHECK(same(letterbox_for(Size2i{0, 0}, Size2i{1280, 800}), Letterbox{0, 0, 0, 0}));
    CHECK(same(letterbox_for(Size2i{-3, 600}, Size2i{1280, 800}), Letterbox{0, 0, 0, 0}));
    CHECK(same(letterbox_for(Size2i{640, 480}, Size2i{0, 0}), Letterbox{0, 0, 640, 480}));
    // A sliver keeps at least one pixel of picture.
    Letterbox sliver = letterbox_for(Size2i{1000, 1}, Size2i{1280, 800});
    CHECK(sliver.height == 1);
    CHECK(sliver.width == 2);
}
