// What the web display backend's files share.  Only files under os/web/
// include Emscripten's headers.
#pragma once

#include "os/window.h"

// The page's one canvas, which is the program's one window.
#define WEB_CANVAS "#canvas"

// The open window on the canvas, or null.
Window *web_window(void);
// The canvas's size in the program's pixels (what the window's client size
// says), and its drawing buffer's, which has the screen's own pixels: more
// on a high-DPI screen, so that the same view is drawn sharper.
extern Size2i web_client_size;
Size2i web_drawing_buffer_size(void);
// Sizes the canvas for a client size at the screen's pixel ratio now.
void web_size_canvas(Size2i client);

// The virtual-key code of a KeyboardEvent.code (the key's position, US
// layout), 0 for none.
u8 web_vk_from_code(const char *code);

// Browser events wait here until the frame's pump hands them to the window
// rules, as a desktop system's message queue holds them.
enum : u8 {
    WEB_MESSAGE_KEY = 1,
    WEB_MESSAGE_CHAR,
    WEB_MESSAGE_BUTTON,
    WEB_MESSAGE_MOVE,
    WEB_MESSAGE_LEAVE,
    WEB_MESSAGE_WHEEL,
    WEB_MESSAGE_FOCUS,
    WEB_MESSAGE_RESIZE,
    WEB_MESSAGE_FULLSCREEN,  // action: the page's stage is fullscreen now
};

struct WebMessage {
    u8 kind;
    u8 action;   // keys: ACTION_*; buttons: 1 down, 0 up; focus: 1 gained
    u16 button;  // keys: the virtual-key code; buttons: BUTTON_MOUSE_*
    i32 x, y;    // canvas pixels
    i32 amount;  // wheel: 120ths of a notch, positive away from the user
    u32 code;    // characters: one UTF-16 unit
    u32 time;    // milliseconds of the page's clock
};

// False when the queue is full (the message is dropped).
bool web_post(const WebMessage *message);
// Where the pointer was last seen over the canvas, in canvas pixels.
extern Vec2i web_pointer;
// Mouse buttons held now, by BUTTON_MOUSE_* - BUTTON_MOUSE_LEFT.
extern bool web_buttons_down[3];
