// What os_create_window asks of the system, and what the operations do with a
// window that is not open: rules of the portable code, run on records that no
// system window stands behind, so that they hold on every tree, display or none.
#include <doctest/doctest.h>

#include <string>

#include "os/backend.h"
#include "os/gl_context.h"
#include "os/input.h"

static std::string title_for(const std::string &title) {
    Str given = {title.size(), title.data()};
    Str chosen = window_request_for(320, 200, given, 0).title;
    return std::string(chosen.data, chosen.len);
}

static std::string repeated(const char *piece, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; i++) out += piece;
    return out;
}

TEST_CASE("a popup is asked for 100 x 100 at the origin, any other window at its size where the system puts it") {
    WindowRequest popup = window_request_for(640, 480, STR("p"), WINDOW_POPUP | WINDOW_HIDDEN);
    CHECK(popup.placed);
    CHECK(popup.position.x == 0);
    CHECK(popup.position.y == 0);
    CHECK(popup.client_size.width == 100);
    CHECK(popup.client_size.height == 100);
    CHECK(popup.flags == (WINDOW_POPUP | WINDOW_HIDDEN));
    WindowRequest plain = window_request_for(640, 480, STR("p"), WINDOW_BORDERLESS);
    CHECK_FALSE(plain.placed);
    CHECK(plain.client_size.width == 640);
    CHECK(plain.client_size.height == 480);

    CHECK(window_request_for(1, 1, STR("t"), WINDOW_OPENGL).opengl);
    CHECK_FALSE(window_request_for(1, 1, STR("t"), WINDOW_OPENGL | WINDOW_FRAMEBUFFER).opengl);
    CHECK_FALSE(window_request_for(1, 1, STR("t"), WINDOW_FRAMEBUFFER).opengl);
}

TEST_CASE("a title that is empty or longer than 0xFFFF UTF-16 units becomes \"Window\"") {
    CHECK(title_for("") == "Window");
    CHECK(title_for("Fathomer") == "Fathomer");
    CHECK(title_for(std::string(0xFFFF, 'a')).size() == 0xFFFF);
    CHECK(title_for(std::string(0x10000, 'a')) == "Window");
    // A character below U+10000 is one unit whatever its bytes: three bytes each here.
    std::string arrows = repeated("\xe2\x86\x93", 0xFFFF);
    CHECK(title_for(arrows) == arrows);
    CHECK(title_for(arrows + "a") == "Window");
    // One past U+FFFF is two units.
    std::string fish = repeated("\xf0\x9f\x90\x9f", 0x7FFF);
    CHECK(title_for(fish + "a") == fish + "a");
    CHECK(title_for(fish + "ab") == "Window");
}

// Long-lived, as window records are.
static Window closed_window;

TEST_CASE("operations on a null or closed window change nothing and reach no system") {
    static u32 pixels[4];
    static const u8 icon[4] = {1, 2, 3, 4};
    closed_window = Window{};
    closed_window.flags = WINDOW_FRAMEBUFFER;
    closed_window.framebuffer_pixels = pixels;
    closed_window.framebuffer_size = Size2i{2, 2};
    // What a context handle looked like: a guard that let the window through
    // would replace or present it.
    closed_window.gl_context = &closed_window;
    for (Window *w : {(Window *)nullptr, &closed_window}) {
        CAPTURE((w != nullptr));
        os_show_window(w, true);
        os_minimise_window(w, true);
        os_focus_window(w);
        os_flash_window(w);
        os_show_cursor(w, true);
        os_move_window(w, 10, 20, 30, 40, true);
        os_set_window_position(w, 10, 20, false);
        os_set_window_size(w, 30, 40, true);
        os_center_window(w);
        os_set_window_border(w, false);
        os_set_window_topmost(w, true);
        os_set_window_fullscreen(w, true);
        os_fit_window(w, 1280, 800);
        os_present_framebuffer(w);
        os_present_framebuffer_rect(w, 0, 0, 1, 1);
        os_create_gl_context(w);
        CHECK(os_swap_buffers(w) == 0);
        CHECK_FALSE(os_set_window_icon(w, icon, 1, 1));
        os_destroy_window(w);
    }
    // Copied out: doctest takes its operands by reference, and the record is packed.
    u16 flags = closed_window.flags;
    void *context = closed_window.gl_context;
    u32 *memory = closed_window.framebuffer_pixels;
    CHECK(flags == WINDOW_FRAMEBUFFER);  // not focused, borderless, topmost or fullscreen
    CHECK(context == (void *)&closed_window);
    CHECK(memory == pixels);

    // Open, but without a context: nothing to swap.
    Window open = {};
    open.flags = WINDOW_OPEN;
    CHECK(os_swap_buffers(&open) == 0);
}

TEST_CASE("a window without a context draws into its client size; none into nothing") {
    Size2i none = os_gl_drawable_size(nullptr);
    CHECK((none.width == 0 && none.height == 0));
    // Closed with a context's handle left behind, or open without one: no
    // system surface is asked.
    Window w = {};
    w.client_size = Size2i{640, 480};
    w.gl_context = &w;
    Size2i closed = os_gl_drawable_size(&w);
    CHECK((closed.width == 640 && closed.height == 480));
    w.flags = WINDOW_OPEN;
    w.gl_context = nullptr;
    Size2i open = os_gl_drawable_size(&w);
    CHECK((open.width == 640 && open.height == 480));
}

TEST_CASE("only the three mouse buttons are asked of the system") {
    for (u16 button : {(u16)0, (u16)'X', (u16)(BUTTON_MOUSE_LEFT - 1), (u16)BUTTON_MOUSE_WHEEL,
                       (u16)BUTTON_MOUSE_POINTER, (u16)0xFFFF})
        CHECK_FALSE(os_is_mouse_button_down(button));
}
