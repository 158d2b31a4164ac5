// The game's states: title, opening sequence, waiting, falling; speed, hope,
// stages and spawning, driven through game_frame as the frame loop does.
#include <doctest/doctest.h>
#include <math.h>

#include "game/entities.h"
#include "game/game_vars.h"
#include "game/keys.h"
#include "game/particles.h"
#include "game/play.h"
#include "game/random.h"
#include "game_harness.h"
#include "render/font.h"

static void press(uint16_t vk) {
    harness_key_down(vk);
    harness_key_up(vk);
}

static Entity *entity(u64 i) { return (Entity *)entity_list.items + i; }

// Title, X, then X again to skip into the waiting screen.
static void skip_to_waiting(void) {
    harness_reset();
    harness_frame(16);
    press(0x58);
    harness_frame(16);
    press(0x58);
    harness_frame(16);
}

static void start_falling(void) {
    skip_to_waiting();
    press(0x58);
    harness_frame(16);
}

TEST_CASE("the title waits for X and draws only its prompt") {
    harness_reset();
    harness_frames(3, 500);
    CHECK(game_vars.game_state == GAME_STATE_TITLE);
    CHECK(harness_count_calls("glClear(") == 1);
    CHECK(harness_count_calls("glDrawElementsInstancedBaseInstance(") == 1);
    CHECK(harness_count_calls("play_music") == 0);
    // "Press X" in the bigger font, from (100, 100)
    REQUIRE(harness_last.instances.size() == 7);
    CHECK(+harness_last.instances[0].position[0] == 100.0f);
    CHECK(+harness_last.instances[0].layer == +font_bigger.layer);
}

TEST_CASE("X on the title starts the opening sequence in the same frame; holding X does not skip it") {
    harness_reset();
    harness_key_down(0x58);
    harness_frame(16);
    CHECK(game_vars.game_state == GAME_STATE_INTRO);
    CHECK(game_vars.intro_step == 1);
    CHECK(game_vars.intro_timer_ms == 2000);
    CHECK(harness_count_calls("play_music 0") == 1);
    REQUIRE(particle_list.count == 1);
    CHECK(sprite_row(((Particle *)particle_list.items)->sprite) == 37);
    REQUIRE(harness_last.instances.size() == 2);  // background row 40, then P0
    CHECK(+harness_last.instances[0].size[0] == 1280.0f);
    harness_frames(10, 16);  // X still held
    CHECK(game_vars.game_state == GAME_STATE_INTRO);
}

TEST_CASE("the opening sequence's steps fall at 0, 2, 5, 7, 9, 11, 15 and 17 seconds") {
    harness_reset();
    press(0x58);
    harness_frame(100);  // step 0
    const int step_at[] = {20, 50, 70, 90, 110, 150};
    int frame = 0;
    for (int s = 0; s < 6; s++) {
        for (; frame < step_at[s] - 1; frame++) harness_frame(100);
        CHECK(game_vars.intro_step == s + 1);
        harness_frame(100);
        frame++;
        CAPTURE(s);
        CHECK(game_vars.intro_step == s + 2);
    }
    // At 15 s the walker stopped and changed its picture.
    const Particle *walker = (const Particle *)particle_list.items;
    CHECK(sprite_row(walker->sprite) == 36);
    CHECK(walker->velocity.x == 0.0f);
    for (; frame < 169; frame++) harness_frame(100);
    CHECK(game_vars.game_state == GAME_STATE_INTRO);
    harness_frame(100);
    CHECK(game_vars.game_state == GAME_STATE_PLAY);
    CHECK(particle_list.count == 0);
    CHECK(game_vars.play_phase == PLAY_PHASE_WAITING);
}

TEST_CASE("X during the opening sequence empties it and draws the waiting screen in the same frame") {
    skip_to_waiting();
    CHECK(game_vars.game_state == GAME_STATE_PLAY);
    CHECK(game_vars.play_phase == PLAY_PHASE_WAITING);
    CHECK(particle_list.count == 0);
    REQUIRE(entity_list.count == 1);
    CHECK(entity(0)->kind == ENTITY_DIVER_WAITING);
    CHECK(entity(0)->position.x == 620.0f);
    CHECK(harness_count_calls("play_music") == 0);
    // background 40, surface 30 at (0, 150), prompt 29 at (360, 580), diver
    // then the HUD's text from (10, 10)
    REQUIRE(harness_last.instances.size() > 4);
    CHECK(+harness_last.instances[1].position[1] == 150.0f);
    CHECK(+harness_last.instances[2].position[0] == 360.0f);
    CHECK(+harness_last.instances[4].position[0] == 10.0f);
    CHECK(+harness_last.instances[4].layer == +font_bigger.layer);
}

TEST_CASE("X while waiting starts the fall: diver sprite, box and track 3, no stage change") {
    start_falling();
    CHECK(game_vars.play_phase == PLAY_PHASE_FALLING);
    CHECK(entity(0)->kind == ENTITY_DIVER);
    CHECK(sprite_row(entity(0)->sprite) == 25);
    CHECK(entity(0)->half_size.x == 16.0f);
    CHECK(entity(0)->half_size.y == 56.0f);
    CHECK(harness_count_calls("play_music 3") == 1);
    harness_frame(16);
    CHECK(game_vars.hope_stage == 2);
    CHECK(harness_count_calls("play_music") == 0);
    CHECK(game_vars.speed == 0.0016f);
}

TEST_CASE("the speed table's thresholds are strict") {
    CHECK(next_speed(0.0f, 1000) == 0.1f);
    CHECK(next_speed(1.0f, 1000) == 1.1f);
    CHECK(next_speed(1.5f, 1000) == 1.55f);
    CHECK(next_speed(2.0f, 1000) == 2.05f);
    CHECK(next_speed(3.0f, 1000) == 3.025f);
    CHECK(next_speed(5.0f, 1000) == 5.005f);
    CHECK(next_speed(9.0f, 1000) == 9.00025f);
    CHECK(next_speed(9.5f, 1000) == 9.500125f);
}

TEST_CASE("every band of the speed table, each threshold belonging to the band below it") {
    // Rates per ms, band k holding the speeds above k and up to k + 1 (the last band has no top).
    const f64 RATE[10] = {0.0001,     0.00005,   0.000025,   0.0000125,  0.000005,
                          0.0000025,  0.00000125, 0.0000005, 0.00000025, 0.000000125};
    for (int k = 0; k < 10; k++) {
        CAPTURE(k);
        const f32 inside = (f32)k + 0.5f;
        CHECK(next_speed(inside, 1000) == (f32)((f64)inside + 1000.0 * RATE[k]));
        if (k == 0) continue;
        const f32 at = (f32)k;
        const f32 above = nextafterf(at, 100.0f);
        CHECK(next_speed(at, 1000) == (f32)((f64)at + 1000.0 * RATE[k - 1]));
        CHECK(next_speed(above, 1000) == (f32)((f64)above + 1000.0 * RATE[k]));
    }
    CHECK(next_speed(-1.0f, 1000) == -0.9f);
    CHECK(next_speed(40.0f, 1000) == 40.000125f);
}

TEST_CASE("spawned kinds run from 3 to 13, every one of them reached over many draws") {
    CHECK(spawn_kind_for(0.0f) == 3);
    CHECK(spawn_kind_for(nextafterf(1.0f, 0.0f)) == 13);
    harness_reset();
    int seen[256] = {};
    for (int i = 0; i < 100000; i++) seen[spawn_kind_for(random_unit())]++;
    for (int kind = 0; kind < 256; kind++) {
        CAPTURE(kind);
        CHECK((seen[kind] > 0) == (kind >= 3 && kind <= 13));
    }
}

TEST_CASE("hope stages at their exact boundaries") {
    CHECK(hope_stage_for(100.0f) == 4);
    CHECK(hope_stage_for(99.99f) == 3);
    CHECK(hope_stage_for(60.0f) == 3);
    CHECK(hope_stage_for(59.99f) == 2);
    CHECK(hope_stage_for(0.0f) == 2);
    CHECK(hope_stage_for(-0.001f) == 1);
    CHECK(hope_stage_for(-99.99f) == 1);
    CHECK(hope_stage_for(-100.0f) == 0);
    CHECK(hope_stage_for(-1e30f) == 0);
}

TEST_CASE("plus presses reach stage 3 with its diver, background and track") {
    start_falling();
    for (int i = 0; i < 3; i++) {
        press(0xBB);
        harness_frame(16);
    }
    // 60 less the drain is still stage 2
    CHECK(game_vars.hope < 60.0f);
    CHECK(game_vars.hope_stage == 2);
    press(0xBB);
    harness_frame(16);
    CHECK(game_vars.hope_stage == 3);
    CHECK(harness_count_calls("play_music 4") == 1);
    CHECK(sprite_row(entity(0)->sprite) == 24);
    CHECK(+harness_last.instances[0].tex_x == +sprite_table[39].x);
    CHECK(+harness_last.instances[0].layer == +sprite_table[39].layer);
    // Both keys in one frame cancel out; only the drain is left.
    press(0xBB);
    press(0xBD);
    float before = game_vars.hope;
    harness_frame(16);
    CHECK(game_vars.hope == (float)((double)before - 16 * 0.00002));
}

TEST_CASE("a 2500 ms frame while falling spawns one entity and leaves the timer at -500") {
    start_falling();
    game_vars.spawn_timer_ms = 1000;
    u64 before = entity_list.count;
    harness_frame(2500);
    CHECK(entity_list.count == before + 1);
    CHECK(game_vars.spawn_timer_ms == -500);
    harness_frame(16);
    CHECK(entity_list.count == before + 2);
    CHECK(game_vars.spawn_timer_ms == 484);
}

TEST_CASE("the spawn timer spawns when it reaches exactly 0, not only below it") {
    start_falling();
    game_vars.spawn_timer_ms = 32;
    u64 before = entity_list.count;
    harness_frame(16);
    CHECK(entity_list.count == before);
    CHECK(game_vars.spawn_timer_ms == 16);
    harness_frame(16);
    CHECK(entity_list.count == before + 1);
    CHECK(game_vars.spawn_timer_ms == 1000);
}

TEST_CASE("R toggles the collision boxes in the same frame") {
    start_falling();
    harness_frame(16);
    size_t plain = harness_last.instances.size();
    press(0x52);
    harness_frame(16);
    CHECK(game_vars.show_collision_boxes == 1);
    CHECK(harness_last.instances.size() >= plain + 2);
    press(0x52);
    harness_frame(16);
    CHECK(game_vars.show_collision_boxes == 0);
}

TEST_CASE("holding W takes the diver out of the field; play goes on without it") {
    start_falling();
    harness_key_down(0x57);
    int frames = 0;
    while (entity_list.count > 0 && entity(0)->kind == ENTITY_DIVER && frames < 2000) {
        harness_frames_60(1);
        frames++;
    }
    CHECK(frames > 600);
    CHECK(frames < 800);
    harness_frames_60(600);
    for (u64 i = 0; i < entity_list.count; i++) CHECK(entity(i)->kind != ENTITY_DIVER);
    CHECK(game_vars.hope < 30.0f);
}

TEST_CASE("the game's keys by the names the driving tools use") {
    CHECK(game_key_named("X") == KEY_X);
    CHECK(game_key_named("PLUS") == KEY_PLUS);
    CHECK(game_key_named("MINUS") == 0xBD);
    CHECK(game_key_named("x") == 0);
    CHECK(game_key_named("88") == 0);
    CHECK(game_key_named("") == 0);
}
