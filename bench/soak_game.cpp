// 24 simulated hours of falling at 60 frames per second: no halt, no NaN,
// bounded lists.  Prints the time taken and the largest list sizes.  An
// argument gives a shorter run in simulated seconds (the benchmark table uses
// ten minutes).
#include "game/entities.h"
#include "game/game_vars.h"
#include "game/particles.h"
#include "game_harness.h"
#include "game_scripts.h"
#include <chrono>
#include <stdio.h>
#include <stdlib.h>

static u64 most_entities, most_particles;

static bool check(void) {
    if (entity_list.count > most_entities) most_entities = entity_list.count;
    if (particle_list.count > most_particles) most_particles = particle_list.count;
    return harness_all_finite() && entity_list.count < 200 && particle_list.count < 400 && harness_halts == 0;
}

int main(int argc, char **argv) {
    const int64_t seconds_simulated = argc > 1 ? atoll(argv[1]) : 60ll * 60 * 24;
    if (seconds_simulated <= 0) return 1;
    const int64_t frames = 60 * seconds_simulated;
    auto start = std::chrono::steady_clock::now();
    int64_t ran = run_soak(frames, check);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    printf("frames %lld of %lld in %.1f s (%.2f us per frame)\n", (long long)ran, (long long)frames, seconds,
           seconds * 1e6 / (double)ran);
    printf("most entities %llu, most particles %llu; speed %f, depth %f, hope %f\n",
           (unsigned long long)most_entities, (unsigned long long)most_particles, (double)game_vars.speed,
           (double)game_vars.depth, (double)game_vars.hope);
    if (ran == frames) printf("result simulation_us %.2f\n", seconds * 1e6 / (double)ran);
    return ran == frames ? 0 : 1;
}
