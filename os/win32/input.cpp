#include <windows.h>

#include "os/backend.h"

Vec2i backend_cursor_position(void) {
    POINT p = {0, 0};
    GetCursorPos(&p);
    return Vec2i{p.x, p.y};
}

bool backend_mouse_button_down(u16 button) {
    static const int KEYS[] = {VK_LBUTTON, VK_MBUTTON, VK_RBUTTON};
    return (GetKeyState(KEYS[button - BUTTON_MOUSE_LEFT]) & 0xFF00) != 0;
}

static void send_mouse(i32 dx, i32 dy, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void backend_send_mouse_move(i32 dx, i32 dy) { send_mouse(dx, dy, MOUSEEVENTF_MOVE); }

void backend_send_mouse_position(i32 x, i32 y) { send_mouse(x, y, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE); }

static void send_stroke(KeyStroke stroke, void *) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = stroke.vk;
    input.ki.dwFlags = stroke.up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

void backend_send_key(KeyStroke stroke) { send_stroke(stroke, nullptr); }

void backend_type_text(const char *text) { type_text_strokes(text, send_stroke, nullptr); }
