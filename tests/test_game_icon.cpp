// The game's icon file going wrong: one line in the log, and start-up goes on.
#include <doctest/doctest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "game/game_icon.h"
#include "os/files.h"
#include "os/memory.h"
#include "os/window_ops.h"
#include "tests/stdout_capture.h"
#include "tools/png_writer.h"

namespace {

void append_bytes(void *context, void *data, int size) {
    std::vector<u8> *out = (std::vector<u8> *)context;
    out->insert(out->end(), (u8 *)data, (u8 *)data + size);
}

std::vector<u8> png_of(int width, int height) {
    std::vector<u8> pixels((size_t)width * height * 4, 0x80);
    std::vector<u8> png;
    stbi_write_png_to_func(append_bytes, &png, width, height, 4, pixels.data(), width * 4);
    return png;
}

std::string beside_exe(const char *name) {
    Str dir = os_get_exe_dir();
    return std::string(dir.data, dir.len) + name;
}

void write_beside_exe(const char *name, const std::vector<u8> &bytes) {
    FILE *f = fopen(beside_exe(name).c_str(), "wb");
    REQUIRE(f);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// The one line that the call logged, or all of it when it was not one line.
std::string logged_by(Window *window, const char *name) {
    capture_stdout_begin();
    CHECK_FALSE(load_window_icon(window, str_from_cstr(name)));
    std::string log = capture_stdout_end();
    CHECK(log.rfind("[load_window_icon:", 0) == 0);
    CHECK(log.find('\n') == log.size() - 1);
    return log;
}

}  // namespace

TEST_CASE("an icon file that is missing, broken or too large is named in one line and not taken") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    Window open = {};
    open.flags = WINDOW_OPEN;  // never reached: the file fails first
    std::string missing = logged_by(&open, "game_icon_test_missing.png");
    CHECK(missing.find("Cannot read the window icon (" + beside_exe("game_icon_test_missing.png") + ")") !=
          std::string::npos);

    std::vector<u8> png = png_of(8, 8);
    std::vector<u8> cut(png.begin(), png.begin() + (long)png.size() / 2);
    write_beside_exe("game_icon_test_cut.png", cut);
    CHECK(logged_by(&open, "game_icon_test_cut.png").find("Cannot read the window icon") != std::string::npos);
    remove(beside_exe("game_icon_test_cut.png").c_str());

    // Refused from its header, before a decoder's worth of memory is spent.
    write_beside_exe("game_icon_test_wide.png", png_of(OS_WINDOW_ICON_MAX_SIDE + 1, 1));
    CHECK(logged_by(&open, "game_icon_test_wide.png").find("Cannot read the window icon") != std::string::npos);
    remove(beside_exe("game_icon_test_wide.png").c_str());
}

TEST_CASE("a good icon file that the window does not take is named in one line too") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    write_beside_exe("game_icon_test_good.png", png_of(8, 8));
    Window closed = {};
    std::string log = logged_by(&closed, "game_icon_test_good.png");
    CHECK(log.find("did not take its icon (" + beside_exe("game_icon_test_good.png") + ")") != std::string::npos);
    remove(beside_exe("game_icon_test_good.png").c_str());
}
