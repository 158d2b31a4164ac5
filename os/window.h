// Windows, their events and the message pump.
#pragma once

#include "os/types.h"

// The window class of every window the layer makes where the system has
// classes (Windows), for programs that look for those windows from outside.
#define OS_WINDOW_CLASS_NAME "orb_sharedWindowClass"

// Window flags (the creation flags share the word).
enum : u16 {
    WINDOW_OPEN = 0x0001,
    WINDOW_FOCUSED = 0x0002,
    WINDOW_POPUP = 0x0008,
    WINDOW_FRAMEBUFFER = 0x0010,
    WINDOW_OPENGL = 0x0020,
    WINDOW_BORDERLESS = 0x0040,
    WINDOW_FIXED_SIZE = 0x0080,
    WINDOW_HIDDEN = 0x0100,
    WINDOW_COLOR_KEY = 0x0200,
    WINDOW_TOPMOST = 0x0400,
    WINDOW_APP = 0x0800,
    WINDOW_CLICK_THROUGH = 0x2000,
    WINDOW_TOOL = 0x8000,
    // Fills its monitor without a border (os_set_window_fullscreen).
    WINDOW_FULLSCREEN = 0x4000,
};

// Window input flags.
enum : u8 {
    POINTER_INSIDE = 0x01,
    RAW_MOUSE_WANTED = 0x02,
    RAW_MOUSE_ACTIVE = 0x04,
    RAW_MOUSE_REGISTERED = 0x08,
};

struct Vec2i {
    i32 x;
    i32 y;
};

struct Size2i {
    i32 width;
    i32 height;
};

#pragma pack(push, 1)
// Never freed: after closing it stays valid with WINDOW_OPEN cleared.
struct Window {
    u16 flags;
    Vec2i client_pos;
    Size2i client_size;
    Vec2i window_pos;
    Size2i window_size;
    void *hwnd;
    void *hdc;
    u8 input_flags;
    Size2i framebuffer_size;
    u32 *framebuffer_pixels;
    u64 framebuffer_capacity;
    void *gl_context;
};
#pragma pack(pop)

static_assert(offsetof(Window, client_pos) == 2, "");
static_assert(offsetof(Window, hwnd) == 34, "");
#if UINTPTR_MAX > 0xFFFFFFFFu
static_assert(sizeof(Window) == 83, "Window is packed");
static_assert(offsetof(Window, input_flags) == 50, "");
static_assert(offsetof(Window, framebuffer_size) == 51, "");
static_assert(offsetof(Window, gl_context) == 75, "");
#else  // 32-bit pointers (WebAssembly)
static_assert(sizeof(Window) == 67, "Window is packed");
static_assert(offsetof(Window, input_flags) == 42, "");
static_assert(offsetof(Window, framebuffer_size) == 43, "");
static_assert(offsetof(Window, gl_context) == 63, "");
#endif

enum : u8 {
    EVENT_POINTER = 1,
    EVENT_MOUSE_BUTTON = 2,
    EVENT_WHEEL = 3,
    EVENT_KEY = 4,
    EVENT_TEXT = 5,
    EVENT_MOVED = 6,
    EVENT_RESIZED = 7,
    EVENT_FOCUS = 9,
    EVENT_DROP = 10,
    EVENT_CLOSED = 11,
};

// Gamepads (os/gamepad.h).  The window of these events is null: a pad
// belongs to no window.
enum : u8 {
    EVENT_GAMEPAD = 16,         // a pad came or went
    EVENT_GAMEPAD_BUTTON = 17,  // a pad's button went down or up
    EVENT_GAMEPAD_AXIS = 18,    // a pad's stick or trigger moved
};

enum : u8 {
    ACTION_UP = 1,
    ACTION_DOWN = 2,
    ACTION_REPEAT = 3,
};

// Button indices shared with the input state: 0 to 255 are virtual-key codes.
enum : u16 {
    BUTTON_MOUSE_LEFT = 260,
    BUTTON_MOUSE_MIDDLE = 261,
    BUTTON_MOUSE_RIGHT = 262,
    BUTTON_MOUSE_WHEEL = 263,
    BUTTON_MOUSE_POINTER = 264,
};

// Built on the window procedure's stack: valid only during the callback.
struct WindowEvent {
    u8 kind;
    Window *window;
    union {
        struct {
            Vec2i position;
            u8 pointer_flags;  // 1 entered with this move, 2 left, 0 ordinary
        } pointer;
        struct {
            u8 action;
            u16 button;
            i32 x, y;
            u8 double_click;
        } mouse_button;
        struct {
            Vec2i position;
            i32 delta;  // +1 or -1
        } wheel;
        struct {
            u8 action;
            u16 key;
        } key;
        struct {
            u32 code;  // one UTF-16 code unit
        } text;
        struct {
            i32 x, y;
        } moved;
        struct {
            i32 width, height;
        } resized;
        struct {
            u8 gained;
        } focus;
        struct {
            Vec2i position;     // client coordinates of the drop point
            const char *paths;  // NUL-terminated paths, one more NUL after the last
            u32 count;
        } drop;
        struct {
            u8 pad;        // 0 to GAMEPAD_COUNT - 1
            u8 action;     // buttons: ACTION_DOWN or ACTION_UP
            u8 connected;  // EVENT_GAMEPAD: 1 came, 0 went
            u16 control;   // buttons and axes: the input table index
            Vec2i value;   // axes: the value after the dead zone
        } gamepad;
    };
};

typedef void (*WindowEventCallback)(WindowEvent *event);

Window *os_create_window(i32 width, i32 height, Str title, u16 flags);
void os_set_event_callback(WindowEventCallback callback);
int os_pump_messages(void);
void os_wait_message(void);
void os_set_raw_mouse(Window *window, bool on);
