// The page's key positions (KeyboardEvent.code) give the codes the desktop
// backends give for the same keys, so the game's key constants hold there.
#include <doctest/doctest.h>

#include <initializer_list>

#include "game/keys.h"
#include "os/web/web_shared.h"

TEST_CASE("the page's key positions give the desktop's virtual-key codes") {
    CHECK(web_vk_from_code("KeyX") == KEY_X);
    CHECK(web_vk_from_code("KeyA") == KEY_A);
    CHECK(web_vk_from_code("Equal") == KEY_PLUS);
    CHECK(web_vk_from_code("Minus") == KEY_MINUS);
    CHECK(web_vk_from_code("Digit0") == '0');
    CHECK(web_vk_from_code("Digit9") == '9');
    CHECK(web_vk_from_code("Numpad0") == 0x60);
    CHECK(web_vk_from_code("Numpad9") == 0x69);
    CHECK(web_vk_from_code("F1") == 0x70);
    CHECK(web_vk_from_code("F12") == 0x7B);
    CHECK(web_vk_from_code("F24") == 0x87);
    // Left and right share one code, as the system's key messages report them.
    CHECK(web_vk_from_code("ShiftLeft") == 0x10);
    CHECK(web_vk_from_code("ShiftRight") == 0x10);
    CHECK(web_vk_from_code("Enter") == 0x0D);
    CHECK(web_vk_from_code("NumpadEnter") == 0x0D);
    CHECK(web_vk_from_code("Space") == 0x20);
    CHECK(web_vk_from_code("ArrowDown") == 0x28);
    CHECK(web_vk_from_code("IntlBackslash") == 0xE2);
}

TEST_CASE("names that are no key position give no code") {
    for (const char *code : {"", "Key", "Keya", "KeyAB", "Digit", "Digit10", "F0", "F25", "F123", "F", "Fn",
                             "Numpad", "NumpadX", "enter", "Unidentified"})
        CHECK_MESSAGE(web_vk_from_code(code) == 0, code);
    CHECK(web_vk_from_code(nullptr) == 0);
}
