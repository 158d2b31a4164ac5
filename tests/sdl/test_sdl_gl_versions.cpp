// What a fresh process gets from its display: the tests run a probe case of
// this executable in a child process whose environment differs (the GL driver
// reads its version cap when it loads, and SDL picks its video driver once).
#include <doctest/doctest.h>

#include <stdio.h>
#include <unistd.h>

#include <string>

#include "os/window.h"
#include "os/window_ops.h"
#include "render/lib_opengl_loader.h"

TEST_CASE("probe: the GL version a fresh OpenGL window gets") {
    Window *w = os_create_window(64, 64, STR("version probe"), WINDOW_OPENGL | WINDOW_HIDDEN);
    if (!w) {
        printf("probe no window\n");
        return;
    }
    i32 version = w->gl_context ? load_gl_functions() : -1;
    printf("probe version %d\n", version);
    fflush(stdout);
    os_destroy_window(w);
}

static std::string probe_with(const std::string &environment) {
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    REQUIRE(n > 0);
    exe[n] = 0;
    std::string command = environment + " '" + exe +
                          "' '-tc=probe: the GL version a fresh OpenGL window gets' 2>&1";
    FILE *child = popen(command.c_str(), "r");
    REQUIRE(child != nullptr);
    std::string out;
    char buffer[512];
    while (fgets(buffer, sizeof(buffer), child)) out += buffer;
    pclose(child);
    return out;
}

TEST_CASE("a driver with 4.4 gives a 4.4 core context, one with 4.3 none and a log line") {
    std::string out = probe_with("MESA_GL_VERSION_OVERRIDE=4.4");
    CHECK(out.find("probe version 40400") != std::string::npos);
    out = probe_with("MESA_GL_VERSION_OVERRIDE=4.3");
    CHECK(out.find("FAILED SDL_GL_CreateContext(4.4 core)") != std::string::npos);
    CHECK(out.find("probe version -1") != std::string::npos);
}

TEST_CASE("without a display no window is made, and the log says why") {
    std::string out = probe_with("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11");
    CHECK(out.find("FAILED SDL_InitSubSystem(video)") != std::string::npos);
    CHECK(out.find("probe no window") != std::string::npos);
}
