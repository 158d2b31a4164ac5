// The game's icon on a real window of whichever display backend is built.
#include "game/game_icon.h"
#include "os/memory.h"
#include "os/window_ops.h"
#include "tests/stdout_capture.h"
#include "tests/window_test_support.h"

TEST_CASE("the generated icon file reaches a real window without a word, and a closed window takes none") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    Window *w = open_test_window(64, 64, WINDOW_HIDDEN);
    capture_stdout_begin();
    bool taken = load_window_icon(w, STR("img/icon.png"));
    std::string log = capture_stdout_end();
    CHECK(taken);
    CHECK(log == "");
    // The longest side taken, in a strip.
    std::vector<u8> strip(OS_WINDOW_ICON_MAX_SIDE * 4, 0xFF);
    CHECK(os_set_window_icon(w, strip.data(), 1, OS_WINDOW_ICON_MAX_SIDE));
    CHECK(os_set_window_icon(w, strip.data(), OS_WINDOW_ICON_MAX_SIDE, 1));
    close_test_window(w);
    CHECK_FALSE(os_set_window_icon(w, strip.data(), 4, 4));
}
