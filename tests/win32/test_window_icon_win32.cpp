// Window icons as Windows keeps them: the program's resource icon from the
// start, pixels turned into icons at both sizes, and every icon the layer
// made destroyed once it is replaced or its window has closed.
#include <windows.h>

#include <vector>

#include "os/window_ops.h"
#include "tests/win32/window_test_support.h"

namespace {

HICON icon_of(Window *w, WPARAM which) { return (HICON)SendMessageW(hwnd_of(w), WM_GETICON, which, 0); }

struct IconPicture {
    bool exists = false;
    int width = 0, height = 0;
    std::vector<u8> bgra;  // top row first
};

// The icon's colour bitmap as 32-bit pixels; exists is false for a
// destroyed handle.
IconPicture picture_of(HICON icon) {
    IconPicture p;
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return p;
    p.exists = true;
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    p.width = bitmap.bmWidth;
    p.height = bitmap.bmHeight;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = p.width;
    bi.bmiHeader.biHeight = -p.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    p.bgra.resize((size_t)p.width * p.height * 4);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, (UINT)p.height, p.bgra.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return p;
}

std::vector<u8> bgra_at(const IconPicture &p, int x, int y) {
    const u8 *q = &p.bgra[((size_t)y * p.width + x) * 4];
    return {q[0], q[1], q[2], q[3]};
}

}  // namespace

TEST_CASE("a window starts with the program's resource icon at the system's two sizes") {
    // The test program carries the game's icon as resource 1, as the game does.
    Window *w = open_test_window(64, 64, WINDOW_HIDDEN);
    IconPicture big = picture_of(icon_of(w, ICON_BIG));
    IconPicture small_icon = picture_of(icon_of(w, ICON_SMALL));
    REQUIRE(big.exists);
    REQUIRE(small_icon.exists);
    CHECK(big.width == GetSystemMetrics(SM_CXICON));
    CHECK(big.height == GetSystemMetrics(SM_CYICON));
    CHECK(small_icon.width == GetSystemMetrics(SM_CXSMICON));
    CHECK(small_icon.height == GetSystemMetrics(SM_CYSMICON));
    // The icon's rounded tile leaves its corners clear and its middle opaque.
    CHECK(bgra_at(big, 0, 0)[3] == 0);
    CHECK(bgra_at(big, big.width / 2, big.height / 2)[3] == 255);
    // The class stays without an icon of its own.
    CHECK(GetClassLongPtrW(hwnd_of(w), GCLP_HICON) == 0);
    close_test_window(w);
}

TEST_CASE("pixels become both icons, replacing and destroying the earlier ones, which a close destroys too") {
    Window *w = open_test_window(64, 64, WINDOW_HIDDEN);
    HICON resource_big = icon_of(w, ICON_BIG), resource_small = icon_of(w, ICON_SMALL);
    REQUIRE(resource_big);
    REQUIRE(resource_small);

    // 64 x 64: opaque red above, half-clear blue below with one green column.
    std::vector<u8> rgba(64 * 64 * 4);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            u8 *p = &rgba[((size_t)y * 64 + x) * 4];
            bool top = y < 32;
            p[0] = top ? 255 : 0;
            p[1] = x == 63 ? 255 : 0;
            p[2] = top ? 0 : 255;
            p[3] = top ? 255 : 128;
        }
    REQUIRE(os_set_window_icon(w, rgba.data(), 64, 64));
    HICON big_icon = icon_of(w, ICON_BIG), small_icon = icon_of(w, ICON_SMALL);
    IconPicture big = picture_of(big_icon);
    IconPicture small_picture = picture_of(small_icon);
    REQUIRE(big.exists);
    REQUIRE(small_picture.exists);
    CHECK(big.width == 64);
    CHECK(big.height == 64);
    CHECK(bgra_at(big, 0, 0) == std::vector<u8>{0, 0, 255, 255});
    CHECK(bgra_at(big, 63, 0) == std::vector<u8>{0, 255, 255, 255});
    CHECK(bgra_at(big, 0, 63) == std::vector<u8>{255, 0, 0, 128});
    // The small one is shrunk by averaging, not by picking pixels: at any
    // size under 64 its last column mixes the green column with its neighbours.
    int sw = GetSystemMetrics(SM_CXSMICON), sh = GetSystemMetrics(SM_CYSMICON);
    REQUIRE(sw < 64);
    CHECK(small_picture.width == sw);
    CHECK(small_picture.height == sh);
    CHECK(bgra_at(small_picture, 0, 0) == std::vector<u8>{0, 0, 255, 255});
    CHECK(bgra_at(small_picture, 0, sh - 1) == std::vector<u8>{255, 0, 0, 128});
    std::vector<u8> edge = bgra_at(small_picture, sw - 1, 0);
    CHECK(edge[1] > 0);
    CHECK(edge[1] < 255);
    CHECK(picture_of(resource_big).exists == false);
    CHECK(picture_of(resource_small).exists == false);

    // Refused: the window keeps the icons it has.
    CHECK_FALSE(os_set_window_icon(w, rgba.data(), 0, 64));
    CHECK_FALSE(os_set_window_icon(w, rgba.data(), 64, OS_WINDOW_ICON_MAX_SIDE + 1));
    CHECK(icon_of(w, ICON_BIG) == big_icon);
    CHECK(icon_of(w, ICON_SMALL) == small_icon);
    CHECK(picture_of(big_icon).exists);

    // Closing the window destroys the last ones.
    close_test_window(w);
    CHECK(picture_of(big_icon).exists == false);
    CHECK(picture_of(small_icon).exists == false);
}
