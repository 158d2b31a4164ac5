// What a pad's state means, written once for every backend: dead zones, the
// trigger threshold, the left stick on the d-pad, and the events for what
// changed since the last state.
#include <math.h>

#include "os/backend.h"
#include "os/gamepad.h"

struct PadState {
    bool connected;
    u16 held;        // GAMEPAD_* bits as last delivered
    Vec2i axes[4];   // GAMEPAD_LEFT_STICK to GAMEPAD_RIGHT_TRIGGER_AXIS, as last delivered
};

static PadState pads[GAMEPAD_COUNT];

bool gamepad_control_of(u16 index, u8 *pad, u16 *control) {
    if (index < GAMEPAD_FIRST_RECORD || index >= GAMEPAD_FIRST_RECORD + GAMEPAD_COUNT * GAMEPAD_RECORDS_PER_PAD)
        return false;
    *pad = (u8)((index - GAMEPAD_FIRST_RECORD) / GAMEPAD_RECORDS_PER_PAD);
    *control = (u16)((index - GAMEPAD_FIRST_RECORD) % GAMEPAD_RECORDS_PER_PAD);
    return true;
}

bool os_gamepad_connected(u8 pad) { return pad < GAMEPAD_COUNT && pads[pad].connected; }

Vec2i gamepad_stick_value(i32 x, i32 y, i32 dead_zone) {
    f64 distance = sqrt((f64)x * x + (f64)y * y);
    if (distance <= dead_zone || dead_zone >= GAMEPAD_AXIS_MAX) return Vec2i{0, 0};
    // A square stick reaches past the circle in its corners: the circle is the limit.
    f64 reach = distance > GAMEPAD_AXIS_MAX ? GAMEPAD_AXIS_MAX : distance;
    f64 scale = (reach - dead_zone) / (GAMEPAD_AXIS_MAX - dead_zone) * GAMEPAD_AXIS_MAX / distance;
    f64 out_x = round(x * scale), out_y = round(y * scale);
    if (out_x > GAMEPAD_AXIS_MAX) out_x = GAMEPAD_AXIS_MAX;
    if (out_x < -GAMEPAD_AXIS_MAX) out_x = -GAMEPAD_AXIS_MAX;
    if (out_y > GAMEPAD_AXIS_MAX) out_y = GAMEPAD_AXIS_MAX;
    if (out_y < -GAMEPAD_AXIS_MAX) out_y = -GAMEPAD_AXIS_MAX;
    return Vec2i{(i32)out_x, (i32)out_y};
}

static i32 trigger_value(u16 raw) { return raw > GAMEPAD_AXIS_MAX ? GAMEPAD_AXIS_MAX : raw; }

// Eight sectors of 45 degrees: a direction counts while the stick lies within
// 67.5 degrees of it, so the diagonals hold two.
static u16 stick_directions(Vec2i stick) {
    if (stick.x == 0 && stick.y == 0) return 0;
    f64 distance = sqrt((f64)stick.x * stick.x + (f64)stick.y * stick.y);
    f64 least = distance * 0.38268343236508978;  // sin 22.5 degrees
    u16 bits = 0;
    if (stick.x >= least) bits |= 1u << GAMEPAD_DPAD_RIGHT;
    if (-stick.x >= least) bits |= 1u << GAMEPAD_DPAD_LEFT;
    if (stick.y >= least) bits |= 1u << GAMEPAD_DPAD_DOWN;
    if (-stick.y >= least) bits |= 1u << GAMEPAD_DPAD_UP;
    return bits;
}

u16 gamepad_held_buttons(const GamepadRaw *raw) {
    u16 held = (u16)(raw->buttons & ~((1u << GAMEPAD_LEFT_TRIGGER) | (1u << GAMEPAD_RIGHT_TRIGGER)));
    if (trigger_value(raw->left_trigger) > GAMEPAD_TRIGGER_THRESHOLD) held |= 1u << GAMEPAD_LEFT_TRIGGER;
    if (trigger_value(raw->right_trigger) > GAMEPAD_TRIGGER_THRESHOLD) held |= 1u << GAMEPAD_RIGHT_TRIGGER;
    held |= stick_directions(gamepad_stick_value(raw->left_x, raw->left_y, GAMEPAD_LEFT_DEAD_ZONE));
    return held;
}

static WindowEvent pad_event(u8 kind, u8 pad) {
    WindowEvent event = {};
    event.kind = kind;
    event.gamepad.pad = pad;
    return event;
}

static void deliver_connection(u8 pad, bool connected) {
    WindowEvent event = pad_event(EVENT_GAMEPAD, pad);
    event.gamepad.connected = connected;
    window_deliver(&event);
}

static void deliver_buttons(u8 pad, u16 held) {
    PadState *p = &pads[pad];
    for (u16 b = 0; b < GAMEPAD_BUTTON_COUNT; b++) {
        u16 bit = (u16)(1u << b);
        if ((p->held & bit) == (held & bit)) continue;
        p->held ^= bit;
        WindowEvent event = pad_event(EVENT_GAMEPAD_BUTTON, pad);
        event.gamepad.action = (held & bit) ? ACTION_DOWN : ACTION_UP;
        event.gamepad.control = gamepad_record(pad, b);
        window_deliver(&event);
    }
}

static void deliver_axes(u8 pad, const Vec2i axes[4]) {
    PadState *p = &pads[pad];
    for (u16 a = 0; a < 4; a++) {
        if (p->axes[a].x == axes[a].x && p->axes[a].y == axes[a].y) continue;
        p->axes[a] = axes[a];
        WindowEvent event = pad_event(EVENT_GAMEPAD_AXIS, pad);
        event.gamepad.control = gamepad_record(pad, (u16)(GAMEPAD_LEFT_STICK + a));
        event.gamepad.value = axes[a];
        window_deliver(&event);
    }
}

void gamepad_attached(u8 pad) {
    if (pad >= GAMEPAD_COUNT || pads[pad].connected) return;
    pads[pad] = PadState{};
    pads[pad].connected = true;
    deliver_connection(pad, true);
}

void gamepad_detached(u8 pad) {
    if (pad >= GAMEPAD_COUNT || !pads[pad].connected) return;
    static const Vec2i rest[4] = {};
    deliver_buttons(pad, 0);
    deliver_axes(pad, rest);
    pads[pad].connected = false;
    deliver_connection(pad, false);
}

void gamepad_update(u8 pad, const GamepadRaw *raw) {
    if (pad >= GAMEPAD_COUNT) return;
    gamepad_attached(pad);
    Vec2i axes[4] = {
        gamepad_stick_value(raw->left_x, raw->left_y, GAMEPAD_LEFT_DEAD_ZONE),
        gamepad_stick_value(raw->right_x, raw->right_y, GAMEPAD_RIGHT_DEAD_ZONE),
        Vec2i{trigger_value(raw->left_trigger), 0},
        Vec2i{trigger_value(raw->right_trigger), 0},
    };
    deliver_buttons(pad, gamepad_held_buttons(raw));
    deliver_axes(pad, axes);
}
