// KeyboardEvent.code names a physical key, so the codes are those of the US
// layout, as on the desktop backends.
#include <string.h>

#include "os/web/web_shared.h"

struct KeyCode {
    const char *code;
    u8 vk;
};

// Left and right modifiers share one code, as the system's key messages report them.
static const KeyCode KEY_CODES[] = {
    {"Backspace", 0x08},    {"Tab", 0x09},           {"Enter", 0x0D},          {"NumpadEnter", 0x0D},
    {"ShiftLeft", 0x10},    {"ShiftRight", 0x10},    {"ControlLeft", 0x11},    {"ControlRight", 0x11},
    {"AltLeft", 0x12},      {"AltRight", 0x12},      {"Pause", 0x13},          {"CapsLock", 0x14},
    {"Escape", 0x1B},       {"Space", 0x20},         {"PageUp", 0x21},         {"PageDown", 0x22},
    {"End", 0x23},          {"Home", 0x24},          {"ArrowLeft", 0x25},      {"ArrowUp", 0x26},
    {"ArrowRight", 0x27},   {"ArrowDown", 0x28},     {"PrintScreen", 0x2C},    {"Insert", 0x2D},
    {"Delete", 0x2E},       {"MetaLeft", 0x5B},      {"MetaRight", 0x5C},      {"OSLeft", 0x5B},
    {"OSRight", 0x5C},      {"ContextMenu", 0x5D},   {"NumpadMultiply", 0x6A}, {"NumpadAdd", 0x6B},
    {"NumpadSubtract", 0x6D}, {"NumpadDecimal", 0x6E}, {"NumpadDivide", 0x6F}, {"NumLock", 0x90},
    {"ScrollLock", 0x91},   {"Semicolon", 0xBA},     {"Equal", 0xBB},          {"Comma", 0xBC},
    {"Minus", 0xBD},        {"Period", 0xBE},        {"Slash", 0xBF},          {"Backquote", 0xC0},
    {"BracketLeft", 0xDB},  {"Backslash", 0xDC},     {"BracketRight", 0xDD},   {"Quote", 0xDE},
    {"IntlBackslash", 0xE2},
};

static bool digits_only(const char *text) {
    if (!*text) return false;
    for (; *text; text++)
        if (*text < '0' || *text > '9') return false;
    return true;
}

u8 web_vk_from_code(const char *code) {
    if (!code) return 0;
    if (strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && !code[4]) return (u8)code[3];
    if (strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && !code[6]) return (u8)code[5];
    if (strncmp(code, "Numpad", 6) == 0 && code[6] >= '0' && code[6] <= '9' && !code[7])
        return (u8)(0x60 + (code[6] - '0'));
    if (code[0] == 'F' && digits_only(code + 1) && strlen(code) <= 3) {
        int n = code[2] ? (code[1] - '0') * 10 + (code[2] - '0') : code[1] - '0';
        if (n >= 1 && n <= 24) return (u8)(0x70 + n - 1);
    }
    for (const KeyCode &k : KEY_CODES)
        if (strcmp(k.code, code) == 0) return k.vk;
    return 0;
}
