// Interim declarations of what the game uses from the renderer, the input
// table, the sound bank and the frame loop, written to their documented
// records and names.  Each block gives way to its owner's header once that
// lands; the game reaches them only through draw.cpp, sounds.cpp, keys.cpp
// and frame_time.h.
#pragma once

#include "os/types.h"
#include "os/window.h"
#include "render/sprite.h"

// Renderer.
#pragma pack(push, 1)
struct SpriteInstance {
    f32 position[3];
    f32 size[2];
    f32 anchor[2];
    f32 rotation;  // radians
    u8 fill_color[4];
    u8 tint[4];
    u16 tex_x, tex_y, tex_w, tex_h;
    u8 layer;
};
#pragma pack(pop)
static_assert(sizeof(SpriteInstance) == 49, "instance stride");
static_assert(offsetof(SpriteInstance, rotation) == 28, "");
static_assert(offsetof(SpriteInstance, tex_x) == 40, "");
static_assert(offsetof(SpriteInstance, layer) == 48, "");

struct SpriteRect {
    u16 x, y, w, h;
};

SpriteInstance *push_instance(void);
void push_rect(u16 tex_x, u16 tex_y, u16 tex_w, u16 tex_h, u8 layer);
void begin_frame(void);
void draw_instances(void);
void draw_text(i32 x, i32 y, Str text);
void draw_hud(f32 depth, f32 speed, f32 hope);
SpriteRect sprite_frame_rect(const Sprite *sprite, u64 t_ms);

// Input table.
#define INPUT_PRESSED 0x01
#define INPUT_REPEATED 0x02
#define INPUT_RELEASED 0x04
#define INPUT_HELD 0x08
#pragma pack(push, 1)
struct InputRecord {
    u8 flags;
    i32 value[2];
    i32 release_value[2];
    i32 previous_value[2];
    u8 reserved0[7];
    u64 press_time;
    u64 release_time;
    i32 *pointer_link;
    u8 transitions;
    u8 reserved1[7];
};
#pragma pack(pop)
static_assert(sizeof(InputRecord) == 64, "500 records in 32,000 bytes");
struct InputState {
    InputRecord records[500];
};
extern InputState *input_state;  // null until the first event or frame

// Sound bank.
typedef u64 SoundHandle;
typedef u64 VoiceHandle;
#define SOUND_LOOP 0x01
extern SoundHandle music_tracks[6];
extern SoundHandle sound_explosion, sound_pickup, sound_laugh;
void play_music(SoundHandle track);
VoiceHandle os_play_sound(SoundHandle sound, f32 volume, f32 pan, u32 flags);
bool os_is_sound_playing(SoundHandle sound);

// Frame loop.
struct FrameClock {
    u64 previous_frame_start_ticks;
    u64 frame_start_ticks;
    u64 total_us;
    i32 frame_us;
    u64 total_ms;
    i32 delta_ms;
    i32 budget_us;
};
extern FrameClock frame_clock;
extern Window *main_window;
