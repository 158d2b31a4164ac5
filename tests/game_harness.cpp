#include "game_harness.h"

#include "game/entities.h"
#include "game/game.h"
#include "game/game_vars.h"
#include "game/particles.h"
#include "os/log.h"
#include "os/memory.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

// The recorders behind the game's external calls.
InputState *input_state;
SoundHandle music_tracks[6] = {1, 2, 3, 4, 5, 6};
SoundHandle sound_explosion = 7, sound_pickup = 8, sound_laugh = 9;
FrameClock frame_clock;
static Window harness_window;
Window *main_window = &harness_window;

static SpriteInstance batch[2048];
static SpriteInstance scratch_instance;
static uint32_t batch_count;
static HarnessFrame current;
HarnessFrame harness_last;
uint64_t harness_hash;
int harness_halts;
int harness_sounds[10];
static SoundHandle music_playing;
static VoiceHandle next_voice;
static std::vector<uint16_t> touched;
struct PendingKey {
    uint16_t vk;
    bool down;
};
static std::vector<PendingKey> pending;

static std::string call_text(const char *format, ...) {
    char buf[256];
    va_list args;
    va_start(args, format);
    vsnprintf(buf, sizeof(buf), format, args);
    va_end(args);
    return buf;
}

SpriteInstance *push_instance(void) {
    if (batch_count == 2048) return &scratch_instance;
    return &batch[batch_count++];
}

void push_rect(u16 tex_x, u16 tex_y, u16 tex_w, u16 tex_h, u8 layer) {
    SpriteInstance *inst = push_instance();
    memset(inst, 0, sizeof(*inst));
    inst->size[0] = (f32)main_window->client_size.width;
    inst->size[1] = (f32)main_window->client_size.height;
    memset(inst->tint, 255, 4);
    inst->tex_x = tex_x;
    inst->tex_y = tex_y;
    inst->tex_w = tex_w;
    inst->tex_h = tex_h;
    inst->layer = layer;
}

void begin_frame(void) {
    current.calls.push_back("begin_frame");
    batch_count = 0;
}

void draw_instances(void) {
    current.calls.push_back(call_text("draw_instances %u", batch_count));
    current.instances.assign(batch, batch + batch_count);
    batch_count = 0;
}

void draw_text(i32 x, i32 y, Str text) {
    current.calls.push_back(call_text("draw_text %d %d %.*s", x, y, (int)text.len, text.data));
}

void draw_hud(f32 depth, f32 speed, f32 hope) {
    current.calls.push_back(call_text("draw_hud %a %a %a", (double)depth, (double)speed, (double)hope));
}

SpriteRect sprite_frame_rect(const Sprite *sprite, u64 t_ms) {
    SpriteRect r = {sprite->x, sprite->y, sprite->w, sprite->h};
    if (sprite->frame_count > 1) {
        u64 frame = (t_ms / sprite->frame_ms) % sprite->frame_count;
        r.x = (u16)(sprite->x + frame * sprite->w);
    }
    return r;
}

void play_music(SoundHandle track) {
    current.calls.push_back(call_text("play_music %llu", (unsigned long long)track));
    music_playing = track;
}

VoiceHandle os_play_sound(SoundHandle sound, f32 volume, f32 pan, u32 flags) {
    current.calls.push_back(
        call_text("os_play_sound %llu %a %a %u", (unsigned long long)sound, (double)volume, (double)pan, flags));
    if (sound < 10) harness_sounds[sound]++;
    return ++next_voice;
}

bool os_is_sound_playing(SoundHandle sound) { return sound != 0 && sound == music_playing; }

static void count_halt(void) { harness_halts++; }

int sprite_row(const Sprite *sprite) { return sprite ? (int)(sprite - sprite_table) : -1; }

void harness_reset(void) {
    game_vars_reset();
    frame_clock = FrameClock{};
    harness_window.client_size = Size2i{1280, 800};
    if (!input_state) input_state = (InputState *)os_alloc_zeroed(sizeof(InputState));
    memset(input_state, 0, sizeof(InputState));
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    if (particle_list.items) os_free(particle_list.items);
    create_particle_list();
    if (entity_list.items) os_free(entity_list.items);
    entity_list = DynArray{};
    current = HarnessFrame{};
    harness_last = HarnessFrame{};
    harness_hash = 0xCBF29CE484222325ull;
    harness_halts = 0;
    memset(harness_sounds, 0, sizeof(harness_sounds));
    music_playing = 0;
    next_voice = 0;
    batch_count = 0;
    touched.clear();
    pending.clear();
    os_set_halt_hook(count_halt);
}

void harness_key_down(uint16_t vk) { pending.push_back({vk, true}); }
void harness_key_up(uint16_t vk) { pending.push_back({vk, false}); }

static void fold(const void *data, size_t size) {
    const unsigned char *p = (const unsigned char *)data;
    for (size_t i = 0; i < size; i++) {
        harness_hash ^= p[i];
        harness_hash *= 0x100000001B3ull;
    }
}

template <typename T> static void fold_value(T v) { fold(&v, sizeof(v)); }

static void fold_frame(void) {
    const GameVars &g = game_vars;
    fold_value(g.game_state), fold_value(g.intro_step), fold_value(g.intro_timer_ms), fold_value(g.play_phase);
    fold_value(g.speed), fold_value(g.depth), fold_value(g.hope), fold_value(g.hope_stage);
    fold_value(g.spawn_timer_ms), fold_value(g.random_seed), fold_value(g.show_collision_boxes);
    fold_value(g.trail_timer_ms), fold_value(g.trail_side);
    fold_value(entity_list.count);
    for (u64 i = 0; i < entity_list.count; i++) {
        const Entity &e = ((const Entity *)entity_list.items)[i];
        fold_value(e.flags), fold_value(e.kind), fold_value(sprite_row(e.sprite));
        fold_value(e.position), fold_value(e.half_size), fold_value(e.velocity);
    }
    fold_value(particle_list.count);
    for (u64 i = 0; i < particle_list.count; i++) {
        const Particle &p = ((const Particle *)particle_list.items)[i];
        fold_value(p.flags), fold_value(sprite_row(p.sprite)), fold_value(p.position), fold_value(p.scale);
        fold_value(p.rotation), fold_value(p.color), fold_value(p.velocity), fold_value(p.scale_velocity);
        fold_value(p.angular_velocity), fold_value(p.color_velocity), fold_value(p.lifetime_ms), fold_value(p.age_ms);
    }
    fold_value(current.instances.size());
    if (!current.instances.empty()) fold(current.instances.data(), current.instances.size() * sizeof(SpriteInstance));
    for (const std::string &c : current.calls) fold(c.c_str(), c.size() + 1);
}

void harness_frame(int32_t delta_ms) {
    u64 old_total = frame_clock.total_ms;
    frame_clock.total_us += (u64)delta_ms * 1000;
    frame_clock.frame_us = delta_ms * 1000;
    frame_clock.total_ms = frame_clock.total_us / 1000;
    frame_clock.delta_ms = (i32)(frame_clock.total_ms - old_total);

    // The input table's frame reset, then the pump's key events.
    for (uint16_t vk : touched) {
        input_state->records[vk].flags &= 0xF8;
        input_state->records[vk].transitions = 0;
    }
    touched.clear();
    for (const PendingKey &k : pending) {
        InputRecord &r = input_state->records[k.vk];
        r.transitions++;
        if (k.down) {
            r.flags |= (r.flags & INPUT_HELD) ? INPUT_REPEATED : INPUT_PRESSED;
            r.flags |= INPUT_HELD;
        } else {
            r.flags &= (u8) ~(INPUT_HELD | INPUT_RELEASED);
            r.flags |= INPUT_RELEASED;
        }
        touched.push_back(k.vk);
    }
    pending.clear();

    current = HarnessFrame{};
    game_frame();
    fold_frame();
    harness_last = current;
}

void harness_frames(int count, int32_t delta_ms) {
    for (int i = 0; i < count; i++) harness_frame(delta_ms);
}

void harness_frames_60(int count) {
    for (int i = 0; i < count; i++) harness_frame(i % 3 == 1 ? 16 : 17);
}

const HarnessFrame &harness_recording(void) { return current; }

int harness_count_calls(const char *prefix) {
    int n = 0;
    for (const std::string &c : harness_last.calls) n += c.compare(0, strlen(prefix), prefix) == 0;
    return n;
}

static bool finite(float v) { return v == v && v - v == 0.0f; }

bool harness_all_finite(void) {
    const GameVars &g = game_vars;
    if (!finite(g.speed) || !finite(g.depth) || !finite(g.hope) || !finite(g.random_seed)) return false;
    for (u64 i = 0; i < entity_list.count; i++) {
        const Entity &e = ((const Entity *)entity_list.items)[i];
        if (!finite(e.position.x) || !finite(e.position.y) || !finite(e.velocity.x) || !finite(e.velocity.y)) return false;
    }
    for (u64 i = 0; i < particle_list.count; i++) {
        const Particle &p = ((const Particle *)particle_list.items)[i];
        const float v[] = {p.position.x, p.position.y, p.scale.x, p.scale.y, p.rotation, p.color.r, p.color.a};
        for (float x : v)
            if (!finite(x)) return false;
    }
    return true;
}
