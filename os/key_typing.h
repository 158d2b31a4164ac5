// The keyboard layout table and the key sequences that type text with it.
// Portable: the backends turn each stroke into one synthetic key input.
#pragma once

#include "os/types.h"

// Virtual-key codes used by the layout table.
enum : u16 {
    KEY_TAB = 0x09,
    KEY_RETURN = 0x0D,
    KEY_SHIFT = 0x10,
    KEY_CONTROL = 0x11,
    KEY_MENU = 0x12,  // Alt
    KEY_SPACE = 0x20,
    KEY_OEM_1 = 0xBA,
    KEY_OEM_PLUS = 0xBB,
    KEY_OEM_COMMA = 0xBC,
    KEY_OEM_MINUS = 0xBD,
    KEY_OEM_PERIOD = 0xBE,
    KEY_OEM_2 = 0xBF,
    KEY_OEM_4 = 0xDB,
    KEY_OEM_102 = 0xE2,
};

enum : u8 {
    LAYOUT_SHIFT = 0x01,
    LAYOUT_ALTGR = 0x02,  // sent as Ctrl followed by Alt
    LAYOUT_DEAD = 0x04,   // a dead key: Space follows to produce the accent itself
};

struct LayoutKey {
    u16 vk;  // 0: the character has no key
    u8 modifiers;
};

struct KeyStroke {
    u16 vk;
    bool up;
};

typedef void (*KeyStrokeSink)(KeyStroke stroke, void *user);

// The key and modifiers that type one ASCII byte; vk 0 when it cannot be typed.
LayoutKey layout_key_for_char(u8 c);
// Emits, in order, every key down and up that types the text.
void type_text_strokes(const char *text, KeyStrokeSink sink, void *user);

// For backends whose pushed keys make no text of their own: which character's
// text follows each stroke of type_text_strokes, as a key down brings its
// character (the plan's modifiers, key ups and the Space after a dead key
// bring none).  Start with next at the text and after_dead_key false.
struct TypedText {
    const char *next;     // the next character whose text is still to come
    bool after_dead_key;  // the plan's Space after a dead key types nothing of its own
};
// The character whose text follows this stroke, and on past it; 0 for none.
u8 typed_text_after(TypedText *typed, KeyStroke stroke);
// Whether os_send_key sends this virtual key (function keys and others are ignored).
bool os_key_is_sendable(u16 vk);
