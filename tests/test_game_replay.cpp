// Golden replays: scripted runs of the whole game, each frame's variables,
// lists, pushed instances and sound calls folded into one hash.  The same
// hashes must come out of every build.
#include <doctest/doctest.h>

#include "game/entities.h"
#include "game/game_vars.h"
#include "game/particles.h"
#include "game_harness.h"
#include "game_scripts.h"

#include <stdio.h>

static const uint64_t GOLDEN[SCRIPT_COUNT] = {
    0x8C41E60A8780E0E0ull,
    0x190A1459F71E7B7Bull,
    0x4E24932B4CF4DA5Full,
    0xC6D74DD36DAEC7BFull,
    0xFBC5CEF1A5B7878Aull,
    0x2BBDF2FF7A5E1001ull,
    0x09C52502944F6525ull,
    0xD360CE57304AA120ull,
    0x749D4E173A6F3C49ull,
};

TEST_CASE("scripted replays match their golden hashes") {
    for (int s = 0; s < SCRIPT_COUNT; s++) {
        uint64_t hash = run_game_script((GameScript)s);
        CAPTURE(GAME_SCRIPT_NAMES[s]);
        CHECK(harness_all_finite());
        CHECK(harness_halts == 0);
        if (hash != GOLDEN[s]) printf("golden %d: 0x%016llXull\n", s, (unsigned long long)hash);
        CHECK(hash == GOLDEN[s]);
    }
}

TEST_CASE("the collision replay touches pick-ups and hazards in stage 0 and in others") {
    run_game_script(SCRIPT_COLLISIONS);
    CHECK(harness_sounds[HARNESS_PICKUP] > 0);
    CHECK(harness_sounds[HARNESS_LAUGH] > 0);      // stages 1 to 4
    CHECK(harness_sounds[HARNESS_EXPLOSION] > 0);  // stage 0
}

TEST_CASE("the stage replay plays every track and comes back") {
    run_game_script(SCRIPT_STAGES_UP_AND_DOWN);
    CHECK(game_vars.hope_stage == 2);
}

TEST_CASE("the diver-leaves replay ends without a diver") {
    run_game_script(SCRIPT_DIVER_LEAVES);
    for (u64 i = 0; i < entity_list.count; i++) CHECK(((Entity *)entity_list.items)[i].kind != ENTITY_DIVER);
}

static u64 most_entities, most_particles;

static bool soak_check(void) {
    if (entity_list.count > most_entities) most_entities = entity_list.count;
    if (particle_list.count > most_particles) most_particles = particle_list.count;
    return harness_all_finite() && entity_list.count < 200 && particle_list.count < 400 && harness_halts == 0;
}

TEST_CASE("one simulated hour at 60 frames per second stays finite and bounded" * doctest::test_suite("soak")) {
    most_entities = most_particles = 0;
    const int64_t frames = 60 * 60 * 60;
    CHECK(run_soak(frames, soak_check) == frames);
    MESSAGE("most entities " << most_entities << ", most particles " << most_particles << ", speed " << game_vars.speed);
}
