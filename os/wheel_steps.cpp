// The per-window remainders live here because the packed Window record has
// no room for them.
#include "os/wheel_steps.h"

// More windows than the game ever opens.  When all slots are taken, the one
// used longest ago is reused: at most part of one notch is forgotten.
#define WHEEL_SLOT_COUNT 8

struct WheelSlot {
    Window *window;
    i32 remainder;  // always within one notch, in the direction last turned
    u64 last_use;
};

static WheelSlot wheel_slots[WHEEL_SLOT_COUNT];
static u64 wheel_use_count;

static WheelSlot *slot_for(Window *window) {
    WheelSlot *oldest = &wheel_slots[0];
    for (WheelSlot &slot : wheel_slots) {
        if (slot.window == window) return &slot;
        if (slot.last_use < oldest->last_use) oldest = &slot;
    }
    *oldest = WheelSlot{window, 0, 0};
    return oldest;
}

i32 wheel_take_steps(Window *window, i32 amount) {
    WheelSlot *slot = slot_for(window);
    slot->last_use = ++wheel_use_count;
    if ((amount > 0 && slot->remainder < 0) || (amount < 0 && slot->remainder > 0)) slot->remainder = 0;
    // In 64 bits: the sum of a remainder and any i32 amount cannot overflow.
    i64 total = (i64)slot->remainder + amount;
    i64 steps = total / WHEEL_NOTCH_AMOUNT;
    slot->remainder = (i32)(total - steps * WHEEL_NOTCH_AMOUNT);
    return (i32)steps;
}

void wheel_forget(Window *window) {
    for (WheelSlot &slot : wheel_slots)
        if (slot.window == window) slot = WheelSlot{};
}
