#include "os/key_typing.h"

struct LayoutRow {
    char c;
    LayoutKey key;
};

static const LayoutRow LAYOUT_ROWS[] = {
    {'\t', {KEY_TAB, 0}},
    {'\n', {KEY_RETURN, 0}},
    {' ', {KEY_SPACE, 0}},
    {'!', {'1', LAYOUT_SHIFT}},
    {'"', {'2', LAYOUT_SHIFT}},
    {'#', {'3', LAYOUT_SHIFT}},
    {'$', {'4', LAYOUT_ALTGR}},
    {'%', {'5', LAYOUT_SHIFT}},
    {'&', {'6', LAYOUT_SHIFT}},
    {'\'', {KEY_OEM_2, 0}},
    {'(', {'8', LAYOUT_SHIFT}},
    {')', {'9', LAYOUT_SHIFT}},
    {'*', {KEY_OEM_2, LAYOUT_SHIFT}},
    {'+', {KEY_OEM_PLUS, 0}},
    {',', {KEY_OEM_COMMA, 0}},
    {'-', {KEY_OEM_MINUS, 0}},
    {'.', {KEY_OEM_PERIOD, 0}},
    {'/', {'7', LAYOUT_SHIFT}},
    {':', {KEY_OEM_PERIOD, LAYOUT_SHIFT}},
    {';', {KEY_OEM_COMMA, LAYOUT_SHIFT}},
    {'<', {KEY_OEM_102, 0}},
    {'=', {'0', LAYOUT_SHIFT}},
    {'>', {KEY_OEM_102, LAYOUT_SHIFT}},
    {'?', {KEY_OEM_PLUS, LAYOUT_SHIFT}},
    {'@', {'2', LAYOUT_ALTGR}},
    {'[', {'8', LAYOUT_ALTGR}},
    {'\\', {KEY_OEM_PLUS, LAYOUT_ALTGR}},
    {']', {'9', LAYOUT_ALTGR}},
    {'^', {KEY_OEM_1, LAYOUT_SHIFT | LAYOUT_DEAD}},
    {'_', {KEY_OEM_MINUS, LAYOUT_SHIFT}},
    {'`', {KEY_OEM_4, LAYOUT_SHIFT | LAYOUT_DEAD}},
    {'{', {'7', LAYOUT_ALTGR}},
    {'|', {KEY_OEM_102, LAYOUT_ALTGR}},
    {'}', {'0', LAYOUT_ALTGR}},
    {'~', {KEY_OEM_1, LAYOUT_ALTGR | LAYOUT_DEAD}},
};

LayoutKey layout_key_for_char(u8 c) {
    if (c >= 'a' && c <= 'z') return LayoutKey{(u16)(c - 32), 0};
    if (c >= 'A' && c <= 'Z') return LayoutKey{c, LAYOUT_SHIFT};
    if (c >= '0' && c <= '9') return LayoutKey{c, 0};
    if (c < 9 || c > 126) return LayoutKey{0, 0};
    for (u64 i = 0; i < COUNT_OF(LAYOUT_ROWS); i++)
        if ((u8)LAYOUT_ROWS[i].c == c) return LAYOUT_ROWS[i].key;
    return LayoutKey{0, 0};
}

static void press(KeyStrokeSink sink, void *user, u16 vk) {
    sink(KeyStroke{vk, false}, user);
    sink(KeyStroke{vk, true}, user);
}

static void altgr(KeyStrokeSink sink, void *user, bool up) {
    sink(KeyStroke{KEY_CONTROL, up}, user);
    sink(KeyStroke{KEY_MENU, up}, user);
}

void type_text_strokes(const char *text, KeyStrokeSink sink, void *user) {
    bool shift_held = false;
    bool altgr_held = false;
    for (const char *p = text; *p; p++) {
        LayoutKey key = layout_key_for_char((u8)*p);
        if (!key.vk) continue;
        bool need_shift = key.modifiers & LAYOUT_SHIFT;
        bool need_altgr = key.modifiers & LAYOUT_ALTGR;
        if (need_shift && !shift_held) {
            sink(KeyStroke{KEY_SHIFT, false}, user);
            shift_held = true;
        } else if (shift_held && !need_shift) {
            sink(KeyStroke{KEY_SHIFT, true}, user);
            shift_held = false;
        }
        if (need_altgr && !altgr_held) altgr(sink, user, false);
        else if (!need_altgr && altgr_held) altgr(sink, user, true);
        press(sink, user, key.vk);
        altgr_held = need_altgr;
        if (key.modifiers & LAYOUT_DEAD) {
            press(sink, user, KEY_SPACE);
            if (shift_held) sink(KeyStroke{KEY_SHIFT, true}, user);
            if (need_altgr) altgr(sink, user, true);
            shift_held = false;
            altgr_held = false;
        }
    }
    if (shift_held) sink(KeyStroke{KEY_SHIFT, true}, user);
    if (altgr_held) altgr(sink, user, true);
}

u8 typed_text_after(TypedText *typed, KeyStroke stroke) {
    if (stroke.up || stroke.vk == KEY_SHIFT || stroke.vk == KEY_CONTROL || stroke.vk == KEY_MENU) return 0;
    if (typed->after_dead_key && stroke.vk == KEY_SPACE) {
        typed->after_dead_key = false;
        return 0;
    }
    while (*typed->next && !layout_key_for_char((u8)*typed->next).vk) typed->next++;
    u8 c = (u8)*typed->next;
    if (!c) return 0;
    LayoutKey key = layout_key_for_char(c);
    if (key.vk != stroke.vk) return 0;
    typed->after_dead_key = key.modifiers & LAYOUT_DEAD;
    typed->next++;
    return c;
}

bool os_key_is_sendable(u16 vk) {
    switch (vk) {
    case 9: case 13: case 16: case 17: case 18: case 20: case 27: case 32:
    case 45: case 46: case 91: case 144: case 145: case 226:
        return true;
    default:
        return (vk >= 33 && vk <= 40) || (vk >= 48 && vk <= 57) || (vk >= 65 && vk <= 90) ||
               (vk >= 96 && vk <= 105) || (vk >= 187 && vk <= 191);
    }
}
