// Plays known sounds through the browser's sound device, updated once per
// animation frame as the game does, for the page to hear and compare.
// Usage (the page's arguments): mix | counter | steady | key
//   mix      the three voices of known_sounds.h; the page gets the mixer's
//            own output for them.
//   counter  the sound that names its frames, with the frame loop stalled
//            three times (half a second, just over a lap, just over two
//            laps), as a hidden tab or a long frame stalls it.
//   steady   that sound without stalls, started at once, before the
//            browser may let anything be heard.
//   key      that sound without stalls, started by the first key, as the
//            game's music is by the key that leaves the title.
// The page is told through Module.checkReady() and Module.checkFinished().
#include <emscripten.h>
#include <stdio.h>
#include <string.h>

#include "os/audio.h"
#include "sound/mixer.h"
#include "tools/web_audio_check/known_sounds.h"

struct Stall {
    double from, to;  // seconds after the start
};

static const Stall COUNTER_STALLS[] = {{0.7, 1.2}, {1.9, 2.95}, {3.65, 5.7}};
static const double MIX_SECONDS = 2.6;
static const double COUNTER_SECONDS = 6.4;
static const double STEADY_SECONDS = 3.0;

static const char *scenario;
static bool stalls_on;
static bool started;
static double started_ms;
static double seconds;
static u32 updates;
// The longest time between two updates, scheduled stalls aside: a machine
// too busy to keep the frame loop within the window mixed ahead makes gaps
// that no device could fill.
static double updated_ms, longest_ms;

static bool stalled(double t) {
    if (!stalls_on) return false;
    for (const Stall &s : COUNTER_STALLS)
        if (t >= s.from && t < s.to) return true;
    return false;
}

// Whether the page hears the device yet: sound started before that plays
// silently, as the game's would, and the page would miss its start.
EM_JS(int, device_heard, (void), { return Module.fathomerAudio && Module.fathomerAudio.synced ? 1 : 0; });
EM_JS(int, key_pressed, (void), { return Module.keyPressed ? 1 : 0; });

static void start_sounds(void);

static bool spans_stall(double from, double to) {
    if (!stalls_on) return false;
    for (const Stall &s : COUNTER_STALLS)
        if (from < s.to && to > s.from) return true;
    return false;
}

static void frame(void) {
    double now = emscripten_get_now();
    if (!started) {
        os_update_audio();
        if (!(strcmp(scenario, "key") == 0 ? key_pressed() : device_heard())) return;
        start_sounds();
        started = true;
        started_ms = now;
    }
    double t = (now - started_ms) / 1000.0;
    if (!stalled(t)) {
        double last = (updated_ms - started_ms) / 1000.0;
        if (updated_ms > 0 && !spans_stall(last, t) && now - updated_ms > longest_ms) longest_ms = now - updated_ms;
        os_update_audio();
        updated_ms = now;
        updates++;
    }
    if (t >= seconds) {
        emscripten_cancel_main_loop();
        printf("%u updates in %.2f s, the longest frame %.0f ms\n", updates, t, longest_ms);
        EM_ASM({ Module.checkFinished($0); }, longest_ms);
    }
}

static void start_sounds(void) {
    if (strcmp(scenario, "mix") != 0) {
        std::vector<i16> counter = known_counter_samples();
        SoundHandle sound = os_create_sound((u32)(counter.size() * 2), counter.data(), 1.0f);
        os_set_master_volume(1.0f);
        os_play_sound(sound, 1.0f, 0.0f, 0);
        seconds = stalls_on ? COUNTER_SECONDS : STEADY_SECONDS;
        EM_ASM({ Module.checkReady([]); });
        return;
    }
    KnownVoices known = start_known_mix();
    std::vector<i16> expected(2 * KNOWN_MIX_FRAMES);
    audio_mix(expected.data(), (u32)(expected.size() * 2));
    replay_known_voices(&known);
    u64 hash = known_hash(expected.data(), expected.size());
    printf("the mixer's hash of the known mix: 0x%016llx (%s)\n", (unsigned long long)hash,
           hash == KNOWN_MIX_HASH ? "as natively" : "NOT as natively");
    EM_ASM({ Module.checkReady(HEAP16.slice($0 >> 1, ($0 >> 1) + $1), $2); }, expected.data(), (int)expected.size(),
           hash == KNOWN_MIX_HASH);
    seconds = MIX_SECONDS;
}

int main(int argc, char **argv) {
    scenario = argc > 1 ? argv[1] : "mix";
    stalls_on = strcmp(scenario, "counter") == 0;
    if (!os_init_audio(nullptr)) {
        printf("the sound device did not open\n");
        EM_ASM(Module.checkFinished(0));
        return 0;
    }
    // The steady run's sound starts at once, as the game's title would,
    // however long the browser holds sound back.
    if (strcmp(scenario, "steady") == 0) {
        start_sounds();
        started = true;
        started_ms = emscripten_get_now();
    }
    emscripten_set_main_loop(frame, 0, 0);
    return 0;
}
