// Pause, mute and the volume steps, played through game_frame as the frame
// loop does.
#include <doctest/doctest.h>

#include <string.h>

#include "game/entities.h"
#include "game/frame_clock.h"
#include "game/game_vars.h"
#include "game/keys.h"
#include "game/pause.h"
#include "game/volume_keys.h"
#include "game_harness.h"
#include "render/font.h"
#include "sound/sounds.h"

static void press(uint16_t vk) {
    harness_key_down(vk);
    harness_key_up(vk);
}

static void start_falling(void) {
    harness_reset();
    harness_frame(16);
    for (int i = 0; i < 3; i++) {
        press(KEY_X);
        harness_frame(16);
    }
    REQUIRE(game_vars.play_phase == PLAY_PHASE_FALLING);
}

TEST_CASE("P stops the game and its clock under the last picture, silent, and P again goes on from there") {
    start_falling();
    harness_frames_60(120);
    std::vector<SpriteInstance> before = harness_last.instances;
    REQUIRE(!before.empty());

    press(KEY_P);
    harness_frame(16);
    CHECK(game_paused());
    const GameVars held = game_vars;
    const u64 held_ms = frame_clock.total_ms;
    const u64 entities = entity_list.count;
    harness_frames_60(90);
    CHECK(game_vars.depth == held.depth);
    CHECK(game_vars.speed == held.speed);
    CHECK(game_vars.hope == held.hope);
    CHECK(game_vars.spawn_timer_ms == held.spawn_timer_ms);
    CHECK(entity_list.count == entities);
    CHECK(frame_clock.total_ms == held_ms);
    CHECK(frame_clock.delta_ms == 0);
    CHECK(audio_state.master_volume == 0.0f);
    // The picture before the pause, then a band and the six glyphs of "Paused".
    const std::vector<SpriteInstance> &paused = harness_last.instances;
    REQUIRE(paused.size() == before.size() + 1 + 6);
    CHECK(memcmp(paused.data(), before.data(), before.size() * sizeof(SpriteInstance)) == 0);
    CHECK(paused[before.size()].fill_color[3] != 0);
    CHECK(+paused.back().layer == +font_bigger.layer);
    // The game's own keys do nothing while it stands.
    press(KEY_PLUS);
    harness_frame(16);
    CHECK(game_vars.hope == held.hope);

    press(KEY_P);
    harness_frame(16);
    CHECK_FALSE(game_paused());
    CHECK(audio_state.master_volume == 0.2f);
    harness_frames_60(60);
    CHECK(game_vars.depth > held.depth);
    // One second of play after the pause: the clock took up where it stood.
    CHECK(frame_clock.total_ms == held_ms + 1000);
}

TEST_CASE("a pause on the title or in the opening holds it too") {
    harness_reset();
    harness_frame(16);
    press(KEY_X);
    harness_frame(16);
    REQUIRE(game_vars.game_state == GAME_STATE_INTRO);
    const i32 timer = game_vars.intro_timer_ms;
    press(KEY_P);
    harness_frames_60(120);
    CHECK(game_vars.intro_timer_ms == timer);
    press(KEY_X);
    harness_frame(16);
    CHECK(game_vars.game_state == GAME_STATE_INTRO);
}

TEST_CASE("M mutes and unmutes; 9 and 0 step the volume around 0.2 and stop at the ends") {
    harness_reset();
    harness_frame(16);
    CHECK(audio_state.master_volume == 0.2f);
    press(KEY_M);
    harness_frame(16);
    CHECK(audio_state.master_volume == 0.0f);
    press(KEY_M);
    harness_frame(16);
    CHECK(audio_state.master_volume == 0.2f);

    const f32 up[] = {0.3f, 0.45f, 0.7f, 1.0f, 1.0f};
    for (f32 want : up) {
        press(KEY_0);
        harness_frame(16);
        CHECK(audio_state.master_volume == want);
    }
    for (int i = 0; i < 10; i++) {
        press(KEY_9);
        harness_frame(16);
    }
    CHECK(audio_state.master_volume == 0.05f);
    // A step while muted is heard.
    press(KEY_M);
    harness_frame(16);
    press(KEY_0);
    harness_frame(16);
    CHECK(audio_state.master_volume == 0.1f);
}

TEST_CASE("a mute made before a pause outlasts it") {
    harness_reset();
    harness_frame(16);
    press(KEY_M);
    harness_frame(16);
    press(KEY_P);
    harness_frame(16);
    press(KEY_P);
    harness_frame(16);
    CHECK(audio_state.master_volume == 0.0f);
    CHECK(volume_state.muted);
}
