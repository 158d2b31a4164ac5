// Runs the game headless: the renderer, sound bank, input table and frame
// clock it calls are replaced by recorders, and every frame is folded into a
// hash of the game's whole visible and audible outcome.
#pragma once

#include "game/external.h"

#include <stdint.h>
#include <string>
#include <vector>

struct HarnessFrame {
    std::vector<SpriteInstance> instances;  // pushed this frame, in order
    std::vector<std::string> calls;         // renderer, text and sound calls, in order
};

extern HarnessFrame harness_last;   // the latest frame's record
extern uint64_t harness_hash;       // fold of every frame since the reset
extern int harness_halts;           // os_halt calls since the reset
extern int harness_sounds[10];      // os_play_sound calls per sound handle since the reset

// Fresh game variables, empty lists, no keys held, clock at 0, 1280 x 800.
void harness_reset(void);
// Events delivered by the next frame's message pump.
void harness_key_down(uint16_t vk);
void harness_key_up(uint16_t vk);
// One pass of the frame loop with the given step.
void harness_frame(int32_t delta_ms);
void harness_frames(int count, int32_t delta_ms);
// Frames at 16 and 17 ms, summing like 60 frames per second.
void harness_frames_60(int count);
// What the recorders hold for the frame being drawn.
const HarnessFrame &harness_recording(void);
// Number of calls in the latest frame that start with prefix.
int harness_count_calls(const char *prefix);
// False when a game variable, entity or particle holds a NaN.
bool harness_all_finite(void);
// The sprite row a pointer stands for.
int sprite_row(const Sprite *sprite);
