#include "os/input.h"

#include <string.h>

#include "os/clock.h"
#include "os/gamepad.h"

static_assert(GAMEPAD_FIRST_RECORD > INPUT_SECOND_POINTER, "the pads lie above the mouse groups");
static_assert(GAMEPAD_FIRST_RECORD + GAMEPAD_COUNT * GAMEPAD_RECORDS_PER_PAD <= INPUT_RECORD_COUNT,
              "the pads fit the input table");

InputState *input_state;
DynArray touched_buttons;
DynArray touched_axes;

static void create_input_state(void) {
    input_state = (InputState *)os_alloc_zeroed(sizeof(InputState));
    if (!input_state) return;
    InputRecord *r = input_state->records;
    for (int i = BUTTON_MOUSE_LEFT; i < BUTTON_MOUSE_POINTER; i++) r[i].pointer_link = &r[BUTTON_MOUSE_POINTER].value;
    for (int i = BUTTON_MOUSE_LEFT + 5; i < INPUT_SECOND_POINTER; i++) r[i].pointer_link = &r[INPUT_SECOND_POINTER].value;
    touched_buttons = dynarray_create(sizeof(u16), 32);
    touched_axes = dynarray_create(sizeof(u16), 64);
}

static void touch(DynArray *list, u16 index) { dynarray_push(list, sizeof(u16), &index); }

static void axis_event(u16 index, Vec2i value, u64 now) {
    InputRecord *r = &input_state->records[index];
    r->flags |= INPUT_PRESSED;
    r->transitions++;
    // Field by field: the packed record's vectors are not aligned.
    r->previous_value.x = r->value.x;
    r->previous_value.y = r->value.y;
    r->value.x = value.x;
    r->value.y = value.y;
    r->press_time = now;
    touch(&touched_axes, index);
}

static void button_event(u16 index, u8 action, Vec2i position, u64 now) {
    // A forged key or button code must not reach past the table.
    if (index >= INPUT_RECORD_COUNT) return;
    InputRecord *r = &input_state->records[index];
    r->transitions++;
    if (action == ACTION_UP) {
        r->flags &= (u8)~(INPUT_HELD | INPUT_RELEASED);
        r->flags |= INPUT_RELEASED;
        r->release_value.x = position.x;
        r->release_value.y = position.y;
        r->release_time = now;
    } else {
        r->flags |= (r->flags & INPUT_HELD) ? INPUT_REPEATED : INPUT_PRESSED;
        r->flags |= INPUT_HELD;
        r->value.x = position.x;
        r->value.y = position.y;
        r->press_time = now;
    }
    touch(&touched_buttons, index);
}

// The system sends no release for keys and buttons let go while another
// window has the focus, so they would stay held: each is released here as its
// own release event would, mouse buttons at the last known cursor position.
// Pads are read without the focus and keep theirs.
static void release_held(u64 now) {
    InputRecord *r = input_state->records;
    for (u16 i = 0; i < INPUT_RECORD_COUNT; i++) {
        u8 pad;
        u16 control;
        if (!(r[i].flags & INPUT_HELD) || gamepad_control_of(i, &pad, &control)) continue;
        // Copied bytewise: the linked value sits unaligned in a packed record.
        Vec2i at = {0, 0};
        if (r[i].pointer_link) memcpy(&at, r[i].pointer_link, sizeof at);
        button_event(i, ACTION_UP, at, now);
    }
}

// A forged event must not write outside its pad's records, nor a button as
// an axis or the other way round.
static void gamepad_event(const WindowEvent *event, u64 now) {
    u8 pad;
    u16 control;
    if (!gamepad_control_of(event->gamepad.control, &pad, &control) || pad != event->gamepad.pad) return;
    bool button = control < GAMEPAD_BUTTON_COUNT;
    if (button != (event->kind == EVENT_GAMEPAD_BUTTON)) return;
    if (button) {
        u8 action = event->gamepad.action == ACTION_UP ? ACTION_UP : ACTION_DOWN;
        button_event(event->gamepad.control, action, Vec2i{0, 0}, now);
    } else {
        axis_event(event->gamepad.control, event->gamepad.value, now);
    }
}

void handle_input_event(WindowEvent *event) {
    if (!input_state) create_input_state();
    if (!input_state) return;
    u64 now = os_ticks_to_microseconds(os_get_ticks());
    switch (event->kind) {
    case EVENT_POINTER:
        // Entered and left are not looked at: the leave also stores its position.
        axis_event(BUTTON_MOUSE_POINTER, event->pointer.position, now);
        break;
    case EVENT_WHEEL:
        axis_event(BUTTON_MOUSE_WHEEL, Vec2i{0, event->wheel.delta}, now);
        break;
    case EVENT_MOUSE_BUTTON:
        button_event(event->mouse_button.button, event->mouse_button.action,
                     Vec2i{event->mouse_button.x, event->mouse_button.y}, now);
        break;
    case EVENT_KEY:
        button_event(event->key.key, event->key.action, Vec2i{0, 0}, now);
        break;
    case EVENT_GAMEPAD_BUTTON:
    case EVENT_GAMEPAD_AXIS: gamepad_event(event, now); break;
    case EVENT_FOCUS:
        if (!event->focus.gained) release_held(now);
        break;
    default:
        break;
    }
}

void input_begin_frame(void) {
    if (!input_state) {
        create_input_state();
        return;
    }
    InputRecord *r = input_state->records;
    u16 *buttons = (u16 *)touched_buttons.items;
    for (u64 i = 0; i < touched_buttons.count; i++) {
        r[buttons[i]].flags &= 0xF8;
        r[buttons[i]].transitions = 0;
    }
    touched_buttons.count = 0;
    u16 *axes = (u16 *)touched_axes.items;
    for (u64 i = 0; i < touched_axes.count; i++) {
        r[axes[i]].release_value.x = r[axes[i]].value.x;
        r[axes[i]].release_value.y = r[axes[i]].value.y;
        r[axes[i]].flags &= 0xF8;
        r[axes[i]].transitions = 0;
    }
    touched_axes.count = 0;
}
