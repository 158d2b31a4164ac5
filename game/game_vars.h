// The game-wide variables shared by the game flow and the entities.
#pragma once

#include "os/types.h"

#define GAME_STATE_TITLE 1
#define GAME_STATE_INTRO 2
#define GAME_STATE_PLAY 3

#define PLAY_PHASE_SETUP 0
#define PLAY_PHASE_WAITING 1
#define PLAY_PHASE_FALLING 2

#define RANDOM_START_SEED 11337.69f

struct GameVars {
    i32 game_state;
    i32 intro_step;      // next step of the opening sequence, 0 to 7
    i32 intro_timer_ms;  // until that step is due
    i32 play_phase;
    f32 speed;  // pixels per millisecond
    f32 depth;  // pixels fallen
    f32 hope;   // unbounded either way
    i32 hope_stage;
    i32 spawn_timer_ms;
    f32 random_seed;
    u8 show_collision_boxes;
    i32 trail_timer_ms;
    u8 trail_side;  // 0 right, 1 left
};

extern GameVars game_vars;

// The starting values (the seed included); run once per process, and by tests.
void game_vars_reset(void);
