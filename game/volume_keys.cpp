#include "game/volume_keys.h"

#include "game/keys.h"
#include "sound/sounds.h"

VolumeState volume_state = {VOLUME_START_STEP, false, false};

#define VOLUME_STEP_COUNT ((i32)(sizeof(VOLUME_STEPS) / sizeof(VOLUME_STEPS[0])))

f32 volume_for(const VolumeState *state) {
    if (state->muted || state->quiet) return 0.0f;
    i32 step = state->step < 0 ? 0 : state->step >= VOLUME_STEP_COUNT ? VOLUME_STEP_COUNT - 1 : state->step;
    return VOLUME_STEPS[step];
}

// Only a change reaches the mixer, so a game that never presses these keys
// keeps the volume start-up set.
static void apply(VolumeState before) {
    if (volume_for(&before) != volume_for(&volume_state)) os_set_master_volume(volume_for(&volume_state));
}

static bool take(u16 key) {
    if (!key_pressed(key)) return false;
    key_consume_press(key);
    return true;
}

void volume_keys_frame(void) {
    VolumeState before = volume_state;
    if (take(KEY_M)) volume_state.muted = !volume_state.muted;
    // A step while muted is taken as wanting to hear it.
    if (take(KEY_9)) {
        if (volume_state.step > 0) volume_state.step--;
        volume_state.muted = false;
    }
    if (take(KEY_0)) {
        if (volume_state.step < VOLUME_STEP_COUNT - 1) volume_state.step++;
        volume_state.muted = false;
    }
    apply(before);
}

void volume_set_quiet(bool quiet) {
    VolumeState before = volume_state;
    volume_state.quiet = quiet;
    apply(before);
}
