#include <windows.h>

#include "os/input.h"
#include "os/key_typing.h"

u64 os_get_cursor_pos(void) {
    POINT p = {0, 0};
    GetCursorPos(&p);
    return (u64)(u32)p.x | ((u64)(u32)p.y << 32);
}

bool os_is_mouse_button_down(u16 button) {
    int vk;
    switch (button) {
    case BUTTON_MOUSE_LEFT: vk = VK_LBUTTON; break;
    case BUTTON_MOUSE_MIDDLE: vk = VK_MBUTTON; break;
    case BUTTON_MOUSE_RIGHT: vk = VK_RBUTTON; break;
    default: return false;
    }
    return (GetKeyState(vk) & 0xFF00) != 0;
}

static void send_mouse(i32 dx, i32 dy, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void os_send_mouse_move(i32 dx, i32 dy) { send_mouse(dx, dy, MOUSEEVENTF_MOVE); }

void os_send_mouse_position(i32 x, i32 y) { send_mouse(x, y, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE); }

static void send_stroke(KeyStroke stroke, void *) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = stroke.vk;
    input.ki.dwFlags = stroke.up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

void os_send_key(u16 vk, bool down) {
    if (os_key_is_sendable(vk)) send_stroke(KeyStroke{vk, !down}, nullptr);
}

void os_type_text(const char *text) {
    if (text) type_text_strokes(text, send_stroke, nullptr);
}
