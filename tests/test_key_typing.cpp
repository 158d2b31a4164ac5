#include <doctest/doctest.h>

#include <string>
#include <utility>
#include <vector>

#include "os/key_typing.h"

// One token per stroke: "+X" for down, "-X" for up, with names for the modifiers.
static std::string name_of(u16 vk) {
    switch (vk) {
    case KEY_SHIFT: return "Shift";
    case KEY_CONTROL: return "Ctrl";
    case KEY_MENU: return "Alt";
    case KEY_SPACE: return "Space";
    case KEY_OEM_1: return "OEM1";
    case KEY_OEM_2: return "OEM2";
    case KEY_OEM_4: return "OEM4";
    case KEY_OEM_PLUS: return "OEMPlus";
    case KEY_OEM_102: return "OEM102";
    case KEY_RETURN: return "Return";
    case KEY_TAB: return "Tab";
    default: return std::string(1, (char)vk);
    }
}

static void record(KeyStroke stroke, void *user) {
    std::string *out = (std::string *)user;
    if (!out->empty()) *out += " ";
    *out += stroke.up ? "-" : "+";
    *out += name_of(stroke.vk);
}

static std::string strokes(const char *text) {
    std::string out;
    type_text_strokes(text, record, &out);
    return out;
}

TEST_CASE("typing letters and a shifted digit keeps Shift down only where needed") {
    CHECK(strokes("Hi!") == "+Shift +H -H -Shift +I -I +Shift +1 -1 -Shift");
    // Consecutive shifted characters share one Shift press.
    CHECK(strokes("AB") == "+Shift +A -A +B -B -Shift");
    CHECK(strokes("a1") == "+A -A +1 -1");
}

TEST_CASE("a dead key is followed by Space and releases its modifiers") {
    CHECK(strokes("^a") == "+Shift +OEM1 -OEM1 +Space -Space -Shift +A -A");
    CHECK(strokes("~") == "+Ctrl +Alt +OEM1 -OEM1 +Space -Space -Ctrl -Alt");
    // Shift held from before the dead key is released by it.
    CHECK(strokes("A`a") == "+Shift +A -A +OEM4 -OEM4 +Space -Space -Shift +A -A");
}

TEST_CASE("AltGr is sent as Ctrl then Alt and released at the end of the text") {
    CHECK(strokes("@[") == "+Ctrl +Alt +2 -2 +8 -8 -Ctrl -Alt");
    CHECK(strokes("@x") == "+Ctrl +Alt +2 -2 -Ctrl -Alt +X -X");
    CHECK(strokes("\\|") == "+Ctrl +Alt +OEMPlus -OEMPlus +OEM102 -OEM102 -Ctrl -Alt");
    // Shift and AltGr switch independently.
    CHECK(strokes("A$") == "+Shift +A -A -Shift +Ctrl +Alt +4 -4 -Ctrl -Alt");
}

TEST_CASE("characters without a key type nothing and leave the modifiers alone") {
    CHECK(strokes("\r") == "");
    CHECK(strokes("A\x1f" "B") == "+Shift +A -A +B -B -Shift");
    CHECK(strokes("\x7f\x80\xff") == "");
    CHECK(strokes("\t\n ") == "+Tab -Tab +Return -Return +Space -Space");
    CHECK(strokes("") == "");
}

TEST_CASE("the layout table rows") {
    struct Row {
        char c;
        u16 vk;
        u8 modifiers;
    };
    const Row rows[] = {
        {'"', '2', LAYOUT_SHIFT},     {'#', '3', LAYOUT_SHIFT},          {'%', '5', LAYOUT_SHIFT},
        {'&', '6', LAYOUT_SHIFT},     {'\'', KEY_OEM_2, 0},              {'(', '8', LAYOUT_SHIFT},
        {')', '9', LAYOUT_SHIFT},     {'*', KEY_OEM_2, LAYOUT_SHIFT},    {'+', KEY_OEM_PLUS, 0},
        {',', KEY_OEM_COMMA, 0},      {'-', KEY_OEM_MINUS, 0},           {'.', KEY_OEM_PERIOD, 0},
        {'/', '7', LAYOUT_SHIFT},     {':', KEY_OEM_PERIOD, LAYOUT_SHIFT}, {';', KEY_OEM_COMMA, LAYOUT_SHIFT},
        {'<', KEY_OEM_102, 0},        {'=', '0', LAYOUT_SHIFT},          {'>', KEY_OEM_102, LAYOUT_SHIFT},
        {'?', KEY_OEM_PLUS, LAYOUT_SHIFT}, {']', '9', LAYOUT_ALTGR},     {'_', KEY_OEM_MINUS, LAYOUT_SHIFT},
        {'`', KEY_OEM_4, LAYOUT_SHIFT | LAYOUT_DEAD}, {'{', '7', LAYOUT_ALTGR}, {'}', '0', LAYOUT_ALTGR},
        {'z', 'Z', 0},                {'Q', 'Q', LAYOUT_SHIFT},          {'7', '7', 0},
    };
    for (const Row &row : rows) {
        CAPTURE(row.c);
        LayoutKey key = layout_key_for_char((u8)row.c);
        CHECK(key.vk == row.vk);
        CHECK(key.modifiers == row.modifiers);
    }
    for (int c = 11; c < 32; c++) CHECK(layout_key_for_char((u8)c).vk == 0);
}

TEST_CASE("only the listed keys can be sent") {
    const u16 sendable[] = {9, 13, 16, 17, 18, 20, 27, 32, 33, 40, 45, 46, 48, 57, 65, 90, 91, 96, 105, 144, 145, 187, 191, 226};
    for (u16 vk : sendable) CHECK(os_key_is_sendable(vk));
    const u16 refused[] = {0, 8, 10, 19, 41, 44, 47, 58, 64, 92, 95, 106, 112 /* F1 */, 143, 146, 186, 192, 225, 227, 300};
    for (u16 vk : refused) CHECK_FALSE(os_key_is_sendable(vk));
}

static void collect_typed(KeyStroke stroke, void *user) {
    auto *state = (std::pair<TypedText, std::string> *)user;
    u8 c = typed_text_after(&state->first, stroke);
    if (c) state->second += (char)c;
}

TEST_CASE("each typable character's text follows its own key's down, once, and nothing follows modifiers, ups or a dead key's Space") {
    const char *text = "Hello, World!\t~^`'\"x\x01\x7f\n";
    std::pair<TypedText, std::string> state = {{text, false}, ""};
    type_text_strokes(text, collect_typed, &state);
    std::string typable;
    for (const char *p = text; *p; p++)
        if (layout_key_for_char((u8)*p).vk) typable += *p;
    CHECK(state.second == typable);
    CHECK(*state.first.next == 0);
}
