// Runs the real game headless: the real renderer over recording GL fakes, the
// real input table fed with key events, and the real mixer without a device,
// advanced by each frame's worth of samples.  Every frame is folded into a
// hash of the game's whole visible and audible outcome.
#pragma once

#include "os/window.h"
#include "render/renderer.h"
#include "render/sprite.h"
#include "sound/sound_bank.h"

#include <stdint.h>
#include <string>
#include <vector>

struct HarnessFrame {
    std::vector<SpriteInstance> instances;  // the latest draw's batch, read back from the instance memory
    std::vector<std::string> calls;         // GL calls, then "play_music N" and "effect NAME", in order
};

extern HarnessFrame harness_last;   // the latest frame's record
extern uint64_t harness_hash;       // fold of every frame since the reset
extern int harness_halts;           // os_halt calls since the reset
// Voices started per sound since the reset, by sound bank slot: music 0 to 5,
// then explosion, pick-up and laugh.
enum { HARNESS_EXPLOSION = 6, HARNESS_PICKUP = 7, HARNESS_LAUGH = 8 };
extern int harness_sounds[9];

struct RecordingWriter;
// While set, every harness frame is also written to it as the game would
// record it: the step, 1280 x 800, the pumped events, the state hash after.
extern RecordingWriter *harness_recorder;

// Fresh game variables, lists, renderer, input table and mixer; clock at 0, 1280 x 800.
void harness_reset(void);
// Events delivered by the next frame's message pump.
void harness_key_down(uint16_t vk);
void harness_key_up(uint16_t vk);
// Any event, such as a pad's, for the next frame's pump.
void harness_event(const WindowEvent &event);
// While set, each frame's pump is also the real one (os_pump_messages), its
// events going to the input handler through the event callback.
extern bool harness_pumps_messages;
// One pass of the frame loop with the given step.
void harness_frame(int32_t delta_ms);
void harness_frames(int count, int32_t delta_ms);
// Frames at 16 and 17 ms, summing like 60 frames per second.
void harness_frames_60(int count);
// The latest draw_instances batch, also outside game_frame.
const HarnessFrame &harness_recording(void);
// Number of calls in the latest frame that start with prefix.
int harness_count_calls(const char *prefix);
// False when a game variable, entity or particle holds a NaN.
bool harness_all_finite(void);
// The sprite row a pointer stands for.
int sprite_row(const Sprite *sprite);
