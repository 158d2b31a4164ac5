#include <windows.h>

#include <ctype.h>

#include "os/gl_context.h"
#include "tests/win32/window_test_support.h"

TEST_SUITE_BEGIN("desktop");

typedef const unsigned char *(WINAPI *GetStringFn)(unsigned int);
typedef void(WINAPI *ClearColorFn)(float, float, float, float);
typedef void(WINAPI *ClearFn)(unsigned int);
typedef void(WINAPI *FinishFn)(void);
typedef HGLRC(WINAPI *GetCurrentContextFn)(void);
typedef void(WINAPI *ReadPixelsFn)(int, int, int, int, unsigned int, unsigned int, void *);

TEST_CASE("an OpenGL window gets a current context whose entry points can be looked up") {
    Window *w = open_test_window(320, 240, WINDOW_OPENGL | WINDOW_TOPMOST);
    REQUIRE(w->gl_context != nullptr);
    GetStringFn get_string = (GetStringFn)os_gl_get_proc_address("glGetString");  // a 1.1 export
    bool found = get_string != nullptr;
    REQUIRE(found);
    const char *version = (const char *)get_string(0x1F02);  // GL_VERSION
    REQUIRE(version != nullptr);
    CHECK(isdigit((unsigned char)version[0]));
    CHECK(os_gl_get_proc_address("glCreateShader") != nullptr);  // reached through WGL
    CHECK(os_gl_get_proc_address("glNoSuchFunction") == nullptr);
    CHECK(os_gl_get_proc_address(nullptr) == nullptr);
    // The driver here offers WGL_EXT_swap_control.
    CHECK(os_set_swap_interval(1) == 1);
    CHECK(os_set_swap_interval(0) == 0);

    // The context draws: a cleared frame reads back red, then swaps.
    ((ClearColorFn)os_gl_get_proc_address("glClearColor"))(1.0f, 0.0f, 0.0f, 1.0f);
    ((ClearFn)os_gl_get_proc_address("glClear"))(0x4000);  // GL_COLOR_BUFFER_BIT
    ((FinishFn)os_gl_get_proc_address("glFinish"))();
    unsigned char rgba[4] = {};
    ((ReadPixelsFn)os_gl_get_proc_address("glReadPixels"))(10, 10, 1, 1, 0x1908, 0x1401, rgba);  // RGBA bytes
    CHECK(rgba[0] == 255);
    CHECK(rgba[1] == 0);
    CHECK(rgba[2] == 0);
    CHECK(os_swap_buffers(w) != 0);

    GetCurrentContextFn current = (GetCurrentContextFn)os_gl_get_proc_address("wglGetCurrentContext");
    bool has_current = current != nullptr;
    REQUIRE(has_current);
    CHECK(current() == (HGLRC)w->gl_context);
    close_test_window(w);
    CHECK(w->gl_context == nullptr);
    CHECK(current() == nullptr);
    CHECK(os_swap_buffers(w) == 0);  // the closed window has no device context
    CHECK(os_swap_buffers(nullptr) == 0);
}

TEST_CASE("a framebuffer window gets no OpenGL context even when one is asked for") {
    Window *w = open_test_window(64, 64, WINDOW_OPENGL | WINDOW_FRAMEBUFFER);
    CHECK(w->gl_context == nullptr);
    CHECK(w->framebuffer_pixels != nullptr);
    close_test_window(w);
}

TEST_SUITE_END();
