// Key positions to the virtual-key codes the input table is indexed by, so
// that the same key constants hold on every backend.  A scancode names a
// physical key, so the codes are those of the US layout.
#include "os/sdl/sdl_shared.h"

struct KeyCode {
    SDL_Scancode scancode;
    u8 vk;
};

// Left and right modifiers share one code, as the system's key messages report them.
static const KeyCode KEY_CODES[] = {
    {SDL_SCANCODE_BACKSPACE, 0x08}, {SDL_SCANCODE_TAB, 0x09},       {SDL_SCANCODE_RETURN, 0x0D},
    {SDL_SCANCODE_KP_ENTER, 0x0D},  {SDL_SCANCODE_LSHIFT, 0x10},    {SDL_SCANCODE_RSHIFT, 0x10},
    {SDL_SCANCODE_LCTRL, 0x11},     {SDL_SCANCODE_RCTRL, 0x11},     {SDL_SCANCODE_LALT, 0x12},
    {SDL_SCANCODE_RALT, 0x12},      {SDL_SCANCODE_PAUSE, 0x13},     {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_ESCAPE, 0x1B},    {SDL_SCANCODE_SPACE, 0x20},     {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_PAGEDOWN, 0x22},  {SDL_SCANCODE_END, 0x23},       {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_LEFT, 0x25},      {SDL_SCANCODE_UP, 0x26},        {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_DOWN, 0x28},      {SDL_SCANCODE_PRINTSCREEN, 0x2C}, {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_DELETE, 0x2E},    {SDL_SCANCODE_LGUI, 0x5B},      {SDL_SCANCODE_RGUI, 0x5C},
    {SDL_SCANCODE_APPLICATION, 0x5D}, {SDL_SCANCODE_KP_MULTIPLY, 0x6A}, {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_MINUS, 0x6D},  {SDL_SCANCODE_KP_PERIOD, 0x6E}, {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90}, {SDL_SCANCODE_SCROLLLOCK, 0x91}, {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_EQUALS, 0xBB},    {SDL_SCANCODE_COMMA, 0xBC},     {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},    {SDL_SCANCODE_SLASH, 0xBF},     {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB}, {SDL_SCANCODE_BACKSLASH, 0xDC}, {SDL_SCANCODE_NONUSHASH, 0xDC},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD}, {SDL_SCANCODE_APOSTROPHE, 0xDE}, {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
};

u8 sdl_vk_from_scancode(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return (u8)('A' + (scancode - SDL_SCANCODE_A));
    // SDL orders the digit row 1 to 9, then 0.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return (u8)('1' + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) return (u8)(0x61 + (scancode - SDL_SCANCODE_KP_1));
    if (scancode == SDL_SCANCODE_KP_0) return 0x60;
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return (u8)(0x70 + (scancode - SDL_SCANCODE_F1));
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) return (u8)(0x7C + (scancode - SDL_SCANCODE_F13));
    for (u64 i = 0; i < COUNT_OF(KEY_CODES); i++)
        if (KEY_CODES[i].scancode == scancode) return KEY_CODES[i].vk;
    return 0;
}

SDL_Scancode sdl_scancode_from_vk(u16 vk) {
    if (vk == 0 || vk > 255) return SDL_SCANCODE_UNKNOWN;
    // The first position that gives the code: the main keys before the keypad's twins.
    for (int s = SDL_SCANCODE_A; s < SDL_NUM_SCANCODES; s++)
        if (sdl_vk_from_scancode((SDL_Scancode)s) == vk) return (SDL_Scancode)s;
    return SDL_SCANCODE_UNKNOWN;
}
