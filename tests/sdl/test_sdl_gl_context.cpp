#include <doctest/doctest.h>

#include <ctype.h>
#include <string.h>

#include <SDL.h>

#include "os/gl_context.h"
#include "os/window.h"
#include "os/window_ops.h"
#include "render/lib_opengl_loader.h"

typedef const unsigned char *(*GetStringFn)(unsigned int);
typedef void (*GetIntegervFn)(unsigned int, int *);
typedef void (*ClearColorFn)(float, float, float, float);
typedef void (*ClearFn)(unsigned int);
typedef void (*FinishFn)(void);
typedef void (*ReadPixelsFn)(int, int, int, int, unsigned int, unsigned int, void *);

TEST_CASE("an OpenGL window gets a current core context of 4.4 or later that draws and swaps") {
    Window *w = os_create_window(320, 240, STR("gl test"), WINDOW_OPENGL | WINDOW_HIDDEN);
    REQUIRE(w != nullptr);
    REQUIRE((w->gl_context != nullptr));
    CHECK((SDL_GL_GetCurrentContext() == (SDL_GLContext)w->gl_context));
    GetStringFn get_string = (GetStringFn)os_gl_get_proc_address("glGetString");
    REQUIRE((void *)get_string != nullptr);
    const char *version = (const char *)get_string(0x1F02);  // GL_VERSION
    REQUIRE(version != nullptr);
    CHECK(isdigit((unsigned char)version[0]));
    int profile = 0;
    ((GetIntegervFn)os_gl_get_proc_address("glGetIntegerv"))(0x9126, &profile);  // GL_CONTEXT_PROFILE_MASK
    CHECK((profile & 1) != 0);                                                   // core
    CHECK(os_gl_get_proc_address("glCreateShader") != nullptr);
    CHECK(os_gl_get_proc_address(nullptr) == nullptr);

    // The context draws: a cleared frame reads back red, then swaps.
    ((ClearColorFn)os_gl_get_proc_address("glClearColor"))(1.0f, 0.0f, 0.0f, 1.0f);
    ((ClearFn)os_gl_get_proc_address("glClear"))(0x4000);  // GL_COLOR_BUFFER_BIT
    ((FinishFn)os_gl_get_proc_address("glFinish"))();
    unsigned char rgba[4] = {};
    ((ReadPixelsFn)os_gl_get_proc_address("glReadPixels"))(10, 10, 1, 1, 0x1908, 0x1401, rgba);
    CHECK(rgba[0] == 255);
    CHECK(rgba[1] == 0);
    CHECK(rgba[2] == 0);
    CHECK(os_swap_buffers(w) == 1);
    // Offscreen can set the interval; a driver that cannot gives 0 either way.
    int set = os_set_swap_interval(0);
    CHECK(set == 0);

    os_destroy_window(w);
    CHECK((w->flags & WINDOW_OPEN) == 0);
    CHECK((w->gl_context == nullptr));
    CHECK(SDL_GL_GetCurrentContext() == nullptr);
    CHECK(os_swap_buffers(w) == 0);
    CHECK(os_swap_buffers(nullptr) == 0);
    CHECK(os_set_swap_interval(1) == 0);  // no current context
}

TEST_CASE("the GL loader fills its slots through SDL with the version and group rules") {
    Window *w = os_create_window(64, 64, STR("loader test"), WINDOW_OPENGL | WINDOW_HIDDEN);
    REQUIRE(w != nullptr);
    REQUIRE((w->gl_context != nullptr));
    i32 version = load_gl_functions();
    CHECK(version >= 40400);
    CHECK((void *)glBufferStorage != nullptr);        // 4.4
    CHECK((void *)glMapBufferRange != nullptr);       // 3.0
    CHECK((void *)glDrawElementsInstancedBaseInstance != nullptr);  // 4.2
    CHECK((void *)glTexImage3D != nullptr);
    os_destroy_window(w);
}

TEST_CASE("a framebuffer window gets no OpenGL context even when one is asked for") {
    Window *w = os_create_window(64, 64, STR("fb"), WINDOW_OPENGL | WINDOW_FRAMEBUFFER | WINDOW_HIDDEN);
    REQUIRE(w != nullptr);
    CHECK((w->gl_context == nullptr));
    CHECK((w->framebuffer_pixels != nullptr));
    os_destroy_window(w);
    CHECK((w->framebuffer_pixels == nullptr));
}
