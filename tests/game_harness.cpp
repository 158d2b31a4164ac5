#include "game_harness.h"

#include "game/draw.h"
#include "game/entities.h"
#include "game/frame_clock.h"
#include "game/frame_step.h"
#include "game/game.h"
#include "game/game_vars.h"
#include "game/particles.h"
#include "game/pause.h"
#include "game/recording_writer.h"
#include "game/state_hash.h"
#include "game/startup.h"
#include "game/volume_keys.h"
#include "os/clock.h"
#include "os/input.h"
#include "os/log.h"
#include "os/memory.h"
#include "render/font.h"
#include "sound/mixer.h"
#include "tests/render_fake_gl.h"

#include <stdio.h>
#include <string.h>

static Window harness_window;
HarnessFrame harness_last;
uint64_t harness_hash;
int harness_halts;
int harness_sounds[9];
RecordingWriter *harness_recorder;
static HarnessFrame recording;
static u32 voice_generation_seen;

bool harness_pumps_messages;
static std::vector<WindowEvent> pending;

// The bigger font with a made-up glyph per byte, so text pushes real instances.
static Glyph harness_glyphs[FONT_GLYPH_COUNT];

static void count_halt(void) { harness_halts++; }

int sprite_row(const Sprite *sprite) { return sprite ? (int)(sprite - sprite_table) : -1; }

static void start_renderer(void) {
    os_free(renderer.index_buffer.data);
    os_free(renderer.quad_buffer.data);
    install_fake_gl();
    renderer = Renderer{};
    init_renderer(&harness_window);
    fake_gl.calls.clear();
    fake_gl.draws.clear();
}

static void build_fonts(void) {
    for (int code = 0; code < FONT_GLYPH_COUNT; code++) {
        u8 width = (u8)(code == ' ' ? 0 : 6 + code % 5);
        harness_glyphs[code] = Glyph{(u16)(512 + (code % 16) * 16), (u16)((code / 16) * 16), width, 12, (u8)(code % 3)};
    }
    font_bigger = Font{harness_glyphs, 20, 8, 1, 2};
}

// The nine sounds in load order, silent, each with its own length.
static void start_mixer(void) {
    static i16 silence[44100 * 2 * 2];
    audio_release_tables();
    audio_state = AudioState{};
    audio_create_tables();
    audio_device.initialised = true;
    audio_device.ring_size = AUDIO_RING_SIZE;
    audio_state.master_volume = 0.2f;
    static const f32 gains[9] = {0.4f, 0.8f, 0.8f, 0.3f, 1.0f, 0.6f, 1.0f, 10.0f, 5.0f};
    SoundHandle *handles[9] = {&sound_bank.music[0], &sound_bank.music[1], &sound_bank.music[2],
                               &sound_bank.music[3], &sound_bank.music[4], &sound_bank.music[5],
                               &sound_bank.explosion,  &sound_bank.pickup,   &sound_bank.laugh};
    for (u32 i = 0; i < 9; i++) {
        // Music runs 1.5 to 2 s and loops; effects end within half a second.
        u32 frames = i < 6 ? 66150 + i * 4410 : 8820 + (i - 6) * 4410;
        *handles[i] = os_create_sound(frames * AUDIO_BYTES_PER_FRAME, silence, gains[i]);
    }
    music_voice = 0;
    voice_generation_seen = audio_state.voice_generation;
}

void harness_reset(void) {
    game_vars_reset();
    frame_clock = FrameClock{};
    pause_reset();
    volume_state = VolumeState{VOLUME_START_STEP, false, false};
    memset(&harness_window, 0, sizeof(harness_window));
    harness_window.flags = WINDOW_OPEN | WINDOW_OPENGL;
    harness_window.client_size = Size2i{1280, 800};
    main_window = &harness_window;
    game_view_size = Size2i{1280, 800};
    camera.view_size.width = 1280.0f;
    camera.view_size.height = 800.0f;
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);
    // Key events stamp their press times from the counter.
    if (!os_counter_frequency) os_counter_frequency = 1000000000;
    start_renderer();
    os_set_halt_hook(count_halt);
    build_fonts();
    start_mixer();
    input_begin_frame();
    memset(input_state, 0, sizeof(InputState));
    input_begin_frame();
    if (particle_list.items) os_free(particle_list.items);
    create_particle_list();
    if (entity_list.items) os_free(entity_list.items);
    entity_list = DynArray{};
    recording = HarnessFrame{};
    harness_last = HarnessFrame{};
    harness_hash = 0xCBF29CE484222325ull;
    harness_halts = 0;
    memset(harness_sounds, 0, sizeof(harness_sounds));
    pending.clear();
}

static void push_key(uint16_t vk, bool down) {
    WindowEvent event = {};
    event.kind = EVENT_KEY;
    event.window = main_window;
    event.key.key = vk;
    event.key.action = down ? ACTION_DOWN : ACTION_UP;
    pending.push_back(event);
}

void harness_key_down(uint16_t vk) { push_key(vk, true); }
void harness_key_up(uint16_t vk) { push_key(vk, false); }
void harness_event(const WindowEvent &event) { pending.push_back(event); }

static void fold(const void *data, size_t size) {
    const unsigned char *p = (const unsigned char *)data;
    for (size_t i = 0; i < size; i++) {
        harness_hash ^= p[i];
        harness_hash *= 0x100000001B3ull;
    }
}

template <typename T> static void fold_value(T v) { fold(&v, sizeof(v)); }

static int sound_slot(u32 sound_index) {
    const SoundHandle handles[9] = {sound_bank.music[0], sound_bank.music[1], sound_bank.music[2],
                                    sound_bank.music[3], sound_bank.music[4], sound_bank.music[5],
                                    sound_bank.explosion,  sound_bank.pickup,   sound_bank.laugh};
    for (int i = 0; i < 9; i++)
        if ((u32)handles[i] == sound_index) return i;
    return -1;
}

// Voices started since the last look, oldest first, as the sound bank's calls.
static void record_new_voices(std::vector<std::string> *calls) {
    static const char *const EFFECT_NAMES[3] = {"explosion", "pickup", "laugh"};
    for (;;) {
        u32 next = 0;
        u32 slot = 0;
        for (u32 i = 0; i < audio_state.voice_count; i++) {
            u32 g = audio_state.voices[i].generation;
            if (g > voice_generation_seen && (next == 0 || g < next)) next = g, slot = i;
        }
        if (next == 0) return;
        voice_generation_seen = next;
        const Voice &v = audio_state.voices[slot];
        int s = sound_slot(v.sound);
        if (s >= 0) harness_sounds[s]++;
        VoiceHandle handle = ((u64)v.generation << 32) | slot;
        char text[64];
        if (handle == music_voice)
            snprintf(text, sizeof(text), "play_music %d", s);
        else
            snprintf(text, sizeof(text), "effect %s", s >= 6 ? EFFECT_NAMES[s - 6] : "?");
        calls->push_back(text);
    }
}

const HarnessFrame &harness_recording(void) {
    recording.instances.clear();
    if (!fake_gl.draws.empty() && renderer.instance_memory) {
        const FakeDraw &d = fake_gl.draws.back();
        const SpriteInstance *first = (const SpriteInstance *)renderer.instance_memory + d.base_instance;
        recording.instances.assign(first, first + d.instance_count);
    }
    recording.calls = fake_gl.calls;
    record_new_voices(&recording.calls);
    return recording;
}

static void fold_frame(const HarnessFrame &frame) {
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
    fold_value(frame.instances.size());
    if (!frame.instances.empty()) fold(frame.instances.data(), frame.instances.size() * sizeof(SpriteInstance));
    for (const std::string &c : frame.calls) fold(c.c_str(), c.size() + 1);
    fold(fake_gl.uniform_bytes.data(), fake_gl.uniform_bytes.size());
    for (u32 i = 0; i < audio_state.voice_count; i++) {
        const Voice &v = audio_state.voices[i];
        fold_value(v.generation), fold_value(v.sound), fold_value(v.position), fold_value(v.flags);
    }
}

// What the device would have taken during the frame: the voices move on and
// effects end.
static void mix_frame(int32_t delta_ms) {
    static i16 scratch[AUDIO_UPDATE_WINDOW / sizeof(i16)];
    u64 bytes = (u64)delta_ms * AUDIO_FRAMES_PER_SECOND / 1000 * AUDIO_BYTES_PER_FRAME;
    while (bytes > 0) {
        u32 n = bytes > sizeof(scratch) ? (u32)sizeof(scratch) : (u32)bytes;
        audio_mix(scratch, n);
        bytes -= n;
    }
    audio_trim_voices();
}

// The frame step without a window, on the harness's clock: each frame lasts
// exactly the step it is given.
static int32_t step_ms;

static void harness_clock(u64) {
    u64 old_total = frame_clock.total_ms;
    // As the frame clock does: a held clock stands.
    if (!frame_clock.held) frame_clock.total_us += (u64)step_ms * 1000;
    frame_clock.frame_us = step_ms * 1000;
    frame_clock.total_ms = frame_clock.total_us / 1000;
    frame_clock.delta_ms = (i32)(frame_clock.total_ms - old_total);
}

static std::vector<RecordedEvent> recorded;

static void record_and_handle(WindowEvent *event) {
    RecordedEvent e = recorded_event_from(event);
    if (e.kind) recorded.push_back(e);
    handle_input_event(event);
}

// The pump's events, through the real callback.
static void harness_input(void) {
    recorded.clear();
    if (harness_pumps_messages) {
        os_set_event_callback(record_and_handle);
        os_pump_messages();
    }
    for (WindowEvent &event : pending) record_and_handle(&event);
    pending.clear();
    if (harness_recorder) {
        // As the game's recorder writes it: the game clock's step, none while
        // the clock is held.
        FrameBody body = {(u64)frame_clock.delta_ms, 1280, 800, 0, (u32)recorded.size()};
        recording_writer_frame(harness_recorder, &body, recorded.data());
    }
    fake_gl.calls.clear();
    fake_gl.draws.clear();
}

static void harness_end(void) {
    if (harness_recorder) recording_writer_hash(harness_recorder, game_state_hash());
    harness_last = harness_recording();
    fold_frame(harness_last);
    mix_frame(step_ms);
}

void harness_frame(int32_t delta_ms) {
    static const FrameHooks hooks = {nullptr, harness_clock, nullptr, harness_input, harness_end, nullptr};
    step_ms = delta_ms;
    frame_step(&hooks, nullptr, 0);
}

void harness_frames(int count, int32_t delta_ms) {
    for (int i = 0; i < count; i++) harness_frame(delta_ms);
}

void harness_frames_60(int count) {
    for (int i = 0; i < count; i++) harness_frame(i % 3 == 1 ? 16 : 17);
}

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
