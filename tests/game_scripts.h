// Scripted runs of the game shared by the replay goldens and the soak run.
#pragma once

#include <stdint.h>

enum GameScript {
    SCRIPT_TITLE_INTRO_SKIP,
    SCRIPT_INTRO_TO_END,
    SCRIPT_WAITING_STEERING,
    SCRIPT_FALL_ALL_KEYS,
    SCRIPT_STAGES_UP_AND_DOWN,
    SCRIPT_COLLISIONS,
    SCRIPT_BOXES_TOGGLED,
    SCRIPT_FALL_120_FPS,
    SCRIPT_DIVER_LEAVES,
    SCRIPT_COUNT
};

extern const char *const GAME_SCRIPT_NAMES[SCRIPT_COUNT];

// Runs the script from a fresh harness; the fold of all its frames.
uint64_t run_game_script(GameScript script);

// From a fresh harness: skips the opening, starts the fall and then steers
// back and forth for the given number of 60-per-second frames, calling check
// after every frame; stops early when check returns false.  Returns the
// number of frames run.
int64_t run_soak(int64_t frames, bool (*check)(void));
