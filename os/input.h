// The input table written by window events, its per-frame reset, and the
// platform's direct mouse queries and synthetic input.
#pragma once

#include "os/memory.h"
#include "os/types.h"
#include "os/window.h"

// Edge and state bits of an InputRecord.
enum : u8 {
    INPUT_PRESSED = 0x01,   // went down this frame (pointer, wheel: changed this frame)
    INPUT_REPEATED = 0x02,  // a further down while held (keyboard auto-repeat)
    INPUT_RELEASED = 0x04,  // went up this frame
    INPUT_HELD = 0x08,      // is down now
};

#define INPUT_RECORD_COUNT 500
// 265 to 269 mirror 260 to 264 for a second pointing device; nothing writes them.
#define INPUT_SECOND_POINTER 269

#pragma pack(push, 1)
struct InputRecord {
    u8 flags;
    Vec2i value;           // buttons: cursor at the last press; pointer: now; wheel: (0, last step)
    Vec2i release_value;   // buttons: cursor at the last release; pointer, wheel: value at frame start
    Vec2i previous_value;  // pointer, wheel: the value before the latest event
    u8 reserved0[7];
    u64 press_time;    // microseconds
    u64 release_time;  // microseconds
    Vec2i *pointer_link;  // mouse buttons and wheel: the pointer record's value
    u8 transitions;       // events since the frame began, wrapping at 256
    u8 reserved1[7];
};

struct InputState {
    InputRecord records[INPUT_RECORD_COUNT];
};
#pragma pack(pop)

static_assert(offsetof(InputRecord, value) == 1, "");
static_assert(offsetof(InputRecord, release_value) == 9, "");
static_assert(offsetof(InputRecord, previous_value) == 17, "");
static_assert(offsetof(InputRecord, press_time) == 32, "");
static_assert(offsetof(InputRecord, release_time) == 40, "");
static_assert(offsetof(InputRecord, pointer_link) == 48, "");
#if UINTPTR_MAX > 0xFFFFFFFFu
static_assert(sizeof(InputRecord) == 64, "InputRecord is packed");
static_assert(offsetof(InputRecord, transitions) == 56, "");
static_assert(sizeof(InputState) == 32000, "InputState is 500 records");
#else  // 32-bit pointers (WebAssembly)
static_assert(sizeof(InputRecord) == 60, "InputRecord is packed");
static_assert(offsetof(InputRecord, transitions) == 52, "");
static_assert(sizeof(InputState) == 30000, "InputState is 500 records");
#endif

// Null until the first event or the first input_begin_frame.
extern InputState *input_state;
// u16 button indices changed since the last frame reset, one per event.
extern DynArray touched_buttons;  // keys and mouse buttons
extern DynArray touched_axes;     // pointer and wheel

// The game's event callback: writes key, button, pointer and wheel events.
void handle_input_event(WindowEvent *event);
// Clears the edges of the records touched since the last call (creating the
// table on first use).  Run once at the top of every frame, before the pump.
void input_begin_frame(void);

// Cursor position in screen coordinates: x in the low 32 bits, y in the high.
u64 os_get_cursor_pos(void);
// True while BUTTON_MOUSE_LEFT, _MIDDLE or _RIGHT is down; false for any other index.
bool os_is_mouse_button_down(u16 button);
// Relative synthetic move (the system may accelerate it).
void os_send_mouse_move(i32 dx, i32 dy);
// Absolute synthetic move; x and y are already in the system's 0 to 65535 range.
void os_send_mouse_position(i32 x, i32 y);
// One synthetic key press or release; keys outside os_key_is_sendable are ignored.
void os_send_key(u16 vk, bool down);
// Types NUL-terminated ASCII text through the keyboard layout table.
void os_type_text(const char *text);
