// Window icons through SDL.  SDL keeps no icon that can be read back; on an X
// display its driver hands the icon to the window manager as the window's
// _NET_WM_ICON property, which is read here through the Xlib that SDL loaded.
#include <SDL.h>
#include <string.h>

#include <vector>

#include "os/window_ops.h"
#include "tests/window_test_support.h"

// Last, since Xlib's macros (None, Bool, Status) would clash with names above;
// and Xlib names its window handle as the platform layer names its record.
#define Window X11Window
#include <SDL_syswm.h>
#undef Window

namespace {

// The window's _NET_WM_ICON: width, height, then 0xAARRGGBB pixels; empty
// when it has none.
std::vector<u32> x11_icon_property(Window *w) {
    std::vector<u32> values;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    REQUIRE(SDL_GetWindowWMInfo((SDL_Window *)w->hwnd, &info));
    REQUIRE(info.subsystem == SDL_SYSWM_X11);
    void *xlib = SDL_LoadObject("libX11.so.6");
    REQUIRE(xlib);
    auto intern_atom = (decltype(&XInternAtom))SDL_LoadFunction(xlib, "XInternAtom");
    auto get_property = (decltype(&XGetWindowProperty))SDL_LoadFunction(xlib, "XGetWindowProperty");
    auto free_data = (decltype(&XFree))SDL_LoadFunction(xlib, "XFree");
    REQUIRE((intern_atom && get_property && free_data));
    Atom name = intern_atom(info.info.x11.display, "_NET_WM_ICON", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    int status = get_property(info.info.x11.display, info.info.x11.window, name, 0, 1 << 20, False, AnyPropertyType,
                              &type, &format, &count, &after, &data);
    // Xlib hands out each 32-bit value in a long, sign-extended.
    if (status == Success && data && format == 32)
        for (unsigned long i = 0; i < count; i++) values.push_back((u32)((long *)data)[i]);
    if (data) free_data(data);
    SDL_UnloadObject(xlib);
    return values;
}

}  // namespace

TEST_CASE("SDL window icons: taken whole and kept when a call is refused; on X11 the window's _NET_WM_ICON") {
    Window *w = open_test_window(64, 64, WINDOW_HIDDEN);
    bool x11 = strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0;
    if (x11) CHECK(x11_icon_property(w).empty());
    // 3 x 2, every pixel different, alpha included.
    const u8 rgba[3 * 2 * 4] = {0x11, 0x22, 0x33, 0xFF, 0x44, 0x55, 0x66, 0x80, 0x77, 0x88, 0x99, 0x00,
                                0xAA, 0xBB, 0xCC, 0xFF, 0xDD, 0xEE, 0xF0, 0x40, 0x01, 0x02, 0x03, 0xFF};
    CHECK(os_set_window_icon(w, rgba, 3, 2));
    CHECK_FALSE(os_set_window_icon(w, rgba, 0, 2));
    CHECK_FALSE(os_set_window_icon(w, rgba, 3, OS_WINDOW_ICON_MAX_SIDE + 1));
    if (x11) {
        std::vector<u32> expected = {3, 2, 0xFF112233, 0x80445566, 0x00778899, 0xFFAABBCC, 0x40DDEEF0, 0xFF010203};
        CHECK(x11_icon_property(w) == expected);
    }
    close_test_window(w);
    CHECK_FALSE(os_set_window_icon(w, rgba, 3, 2));
}
