// The game's sound files. Music tracks are loops built on a beat grid; every
// note that runs past the loop's end wraps round to its start.
#include "audio.h"

#include <math.h>
#include <stdio.h>

#include "synth.h"

// Gains the game's sound bank plays each file at, and its master volume.
static const double BANK_MUSIC_GAIN[6] = {0.4, 0.8, 0.8, 0.3, 1.0, 0.6};
static const double MASTER_VOLUME = 0.2;
// Loudest sample of a music track as heard: a calm bed under the effects.
static const double MUSIC_HEARD_PEAK = 0.11;

struct Song {
    Buffer b;
    double bpm;
};

static Song song_create(double bpm, int bars) {
    Song s;
    s.bpm = bpm;
    s.b = buffer_create(llround(bars * 4 * 60.0 / bpm * SYNTH_RATE), true);
    return s;
}

static long at(const Song *s, double beat) { return llround(beat * 60.0 / s->bpm * SYNTH_RATE); }
static double beats_to_seconds(const Song *s, double beats) { return beats * 60.0 / s->bpm; }

// Chords as four MIDI notes, low to high.
typedef int Chord[4];

// Tone i of a chord, counting up through octaves (0..3 the chord, 4..7 an octave up).
static int tone(const Chord c, int i) { return c[i % 4] + 12 * (i / 4); }

static void pads(Song *s, const Chord *chords, int count, int bars_per, int shift, double amp) {
    for (int i = 0; i < count; i++)
        for (int k = 0; k < 4; k++)
            pad(&s->b, at(s, i * bars_per * 4), beats_to_seconds(s, bars_per * 4 + 2), midi_hz(chords[i][k] + shift),
                amp, (k - 1.5) * 0.35);
}

static void arps(Song *s, const Chord *chords, int count, int bars_per, double step, const int *pattern, int len,
                 int shift, double amp, double decay) {
    int steps = (int)(count * bars_per * 4 / step + 0.5);
    for (int i = 0; i < steps; i++) {
        int p = pattern[i % len];
        if (p < 0) continue;
        const int *c = chords[(int)(i * step / (bars_per * 4))];
        pluck(&s->b, at(s, i * step), midi_hz(tone(c, p) + shift), amp, (i % 2 ? 0.4 : -0.4), decay);
    }
}

static void basses(Song *s, const Chord *chords, int count, int bars_per, const double *onsets, int n, double len,
                   double amp) {
    for (int i = 0; i < count; i++)
        for (int bar = 0; bar < bars_per; bar++)
            for (int k = 0; k < n; k++)
                bass(&s->b, at(s, (i * bars_per + bar) * 4 + onsets[k]), beats_to_seconds(s, len),
                     midi_hz(chords[i][0] - 12), amp);
}

// Melody: MIDI notes on a grid of `step` beats, 0 a rest.
static void melody(Song *s, const int *notes, int n, double step, double amp, double decay) {
    for (int i = 0; i < n; i++)
        if (notes[i]) bell(&s->b, at(s, i * step), midi_hz(notes[i]), amp, 0.15, decay);
}

static bool finish(Song *s, const char *dir, int track, double wet, double feedback, double drive) {
    reverb(&s->b, wet, feedback);
    double peak = MUSIC_HEARD_PEAK / (BANK_MUSIC_GAIN[track] * MASTER_VOLUME);
    master(&s->b, drive, peak > 0.9 ? 0.9 : peak);
    char path[1024];
    snprintf(path, sizeof path, "%s/music%d.wav", dir, track);
    bool ok = write_wav(path, &s->b);
    buffer_free(&s->b);
    return ok;
}

// Track 0, the opening: D minor turning hopeful, harp and bells, 40 s.
static bool track_opening(const char *dir) {
    Song s = song_create(96, 16);
    static const Chord chords[8] = {{50, 53, 57, 62}, {46, 50, 53, 58}, {53, 57, 60, 65}, {48, 52, 55, 60},
                                    {50, 53, 57, 62}, {46, 50, 53, 58}, {43, 50, 55, 58}, {45, 49, 52, 57}};
    pads(&s, chords, 8, 2, 12, 0.05);
    static const int harp[8] = {0, 1, 2, 3, 4, 3, 2, 1};
    arps(&s, chords, 8, 2, 0.5, harp, 8, 12, 0.10, 0.45);
    static const double onsets[1] = {0};
    basses(&s, chords, 8, 2, onsets, 1, 7.5, 0.18);
    static const int tune[32] = {74, 0, 77, 76, 74, 0, 0, 0, 70, 0, 74, 72, 69, 0, 0, 0,
                                 74, 0, 77, 81, 79, 0, 77, 0, 74, 0, 73, 0, 69, 0, 0, 0};
    melody(&s, tune, 32, 2, 0.09, 0.9);
    for (int i = 0; i < 4; i++) wash(&s.b, at(&s, i * 16), beats_to_seconds(&s, 16), 0.25, 500, 100 + i);
    return finish(&s, dir, 0, 0.45, 0.8, 1.6);
}

// Track 1, hope stage 0: dread. A low drone, a heartbeat, clusters, 43 s.
static bool track_dread(const char *dir) {
    Song s = song_create(56, 10);
    for (int i = 0; i < 5; i++) {
        double t = i * 8;
        pad(&s.b, at(&s, t), beats_to_seconds(&s, 10), midi_hz(36), 0.16, -0.2);
        pad(&s.b, at(&s, t), beats_to_seconds(&s, 10), midi_hz(37 + (i % 2) * 5), 0.07, 0.3);
        pad(&s.b, at(&s, t + 2), beats_to_seconds(&s, 8), midi_hz(i % 2 ? 54 : 55), 0.05, 0.5);
    }
    for (int beat = 0; beat < 40; beat++) {
        thump(&s.b, at(&s, beat), 0.5, 48);
        thump(&s.b, at(&s, beat + 0.3), 0.32, 44);
    }
    static const int knells[5] = {61, 55, 60, 54, 49};
    for (int i = 0; i < 5; i++) bell(&s.b, at(&s, i * 8 + 3), midi_hz(knells[i]), 0.10, (i % 2 ? 0.5 : -0.5), 1.6);
    for (int i = 0; i < 5; i++) wash(&s.b, at(&s, i * 8 + 4), beats_to_seconds(&s, 8), 0.5, 250, 200 + i);
    return finish(&s, dir, 1, 0.6, 0.84, 0);
}

// Track 2, hope stage 1: unease. A minor with a restless ostinato, 40 s.
static bool track_unease(const char *dir) {
    Song s = song_create(72, 12);
    static const Chord chords[6] = {{45, 48, 52, 57}, {41, 45, 48, 53}, {38, 41, 45, 50},
                                    {40, 44, 47, 52}, {45, 48, 52, 57}, {40, 44, 47, 50}};
    pads(&s, chords, 6, 2, 12, 0.05);
    static const int ostinato[8] = {0, 1, 0, 2, 0, 1, 3, 1};
    arps(&s, chords, 6, 2, 0.5, ostinato, 8, 12, 0.09, 0.3);
    static const double onsets[4] = {0, 1, 2, 3};
    basses(&s, chords, 6, 2, onsets, 4, 0.8, 0.14);
    static const int tune[24] = {72, 0, 71, 0, 69, 0, 0, 0, 65, 0, 64, 0, 62, 0, 64, 0, 68, 0, 0, 0, 69, 0, 0, 0};
    melody(&s, tune, 24, 2, 0.06, 1.2);
    return finish(&s, dir, 2, 0.45, 0.8, 0.8);
}

// Track 3, hope stage 2, where the fall starts: E minor, steady, 43 s.
static bool track_steady(const char *dir) {
    Song s = song_create(90, 16);
    static const Chord chords[8] = {{40, 47, 52, 55}, {36, 43, 48, 52}, {43, 47, 50, 55}, {38, 45, 50, 54},
                                    {40, 47, 52, 55}, {36, 43, 48, 52}, {45, 48, 52, 57}, {47, 51, 54, 59}};
    pads(&s, chords, 8, 2, 12, 0.05);
    static const int arp[8] = {0, 2, 1, 3, 2, 4, 3, 2};
    arps(&s, chords, 8, 2, 0.5, arp, 8, 12, 0.10, 0.35);
    static const double onsets[2] = {0, 2.5};
    basses(&s, chords, 8, 2, onsets, 2, 1.5, 0.16);
    static const int tune[32] = {71, 0, 0, 74, 76, 0, 0, 0, 72, 0, 0, 71, 67, 0, 0, 0,
                                 74, 0, 0, 71, 69, 0, 66, 0, 67, 0, 69, 0, 71, 0, 0, 0};
    melody(&s, tune, 32, 2, 0.07, 1.0);
    for (int beat = 0; beat < 64; beat += 2) thump(&s.b, at(&s, beat), 0.22, 55);
    return finish(&s, dir, 3, 0.4, 0.78, 1.6);
}

// Track 4, hope stage 3: hopeful. C major, warm, 48 s.
static bool track_hope(const char *dir) {
    Song s = song_create(100, 20);
    static const Chord chords[10] = {{48, 55, 60, 64}, {43, 50, 55, 59}, {45, 52, 57, 60}, {41, 48, 53, 57},
                                     {48, 55, 60, 64}, {43, 50, 55, 59}, {41, 48, 53, 57}, {43, 50, 55, 59},
                                     {45, 52, 57, 60}, {43, 50, 55, 62}};
    pads(&s, chords, 10, 2, 12, 0.05);
    static const int arp[8] = {0, 2, 4, 2, 3, 5, 4, 2};
    arps(&s, chords, 10, 2, 0.5, arp, 8, 12, 0.10, 0.4);
    static const double onsets[3] = {0, 1.5, 2};
    basses(&s, chords, 10, 2, onsets, 3, 1.2, 0.15);
    static const int tune[40] = {76, 0, 79, 0, 74, 0, 0, 0, 72, 0, 76, 0, 77, 0, 0, 0, 76, 74, 72, 0,
                                 76, 0, 79, 0, 84, 0, 0, 0, 81, 0, 79, 0, 77, 0, 76, 0, 74, 0, 0, 0};
    melody(&s, tune, 40, 2, 0.08, 1.0);
    for (int beat = 0; beat < 80; beat++) shaker(&s.b, at(&s, beat + 0.5), 0.05, 0.3, 300 + beat);
    return finish(&s, dir, 4, 0.35, 0.78, 1.0);
}

// Track 5, hope stage 4: joy. D major, bright and quick, 48 s.
static bool track_joy(const char *dir) {
    Song s = song_create(120, 24);
    static const Chord chords[8] = {{50, 57, 62, 66}, {45, 52, 57, 61}, {47, 54, 59, 62}, {43, 50, 55, 59},
                                    {50, 57, 62, 66}, {45, 52, 57, 61}, {43, 50, 55, 59}, {45, 52, 57, 64}};
    // Eight chords over 24 bars: three bars each.
    pads(&s, chords, 8, 3, 12, 0.045);
    static const int arp[16] = {0, 2, 4, 6, 5, 4, 2, 3, 0, 2, 4, 7, 6, 4, 3, 2};
    arps(&s, chords, 8, 3, 0.25, arp, 16, 12, 0.07, 0.22);
    static const double onsets[4] = {0, 1, 2, 3.5};
    basses(&s, chords, 8, 3, onsets, 4, 0.6, 0.15);
    static const int tune[48] = {78, 81, 0, 78, 76, 74, 0, 0, 76, 78, 0, 76, 73, 69, 0, 0,
                                 71, 74, 0, 78, 79, 78, 76, 0, 74, 0, 76, 0, 78, 0, 0, 0,
                                 83, 81, 0, 78, 81, 0, 78, 76, 74, 76, 78, 0, 76, 0, 0, 0};
    melody(&s, tune, 48, 2, 0.08, 0.6);
    for (int beat = 0; beat < 96; beat++) {
        thump(&s.b, at(&s, beat), beat % 2 ? 0.12 : 0.25, 60);
        shaker(&s.b, at(&s, beat + 0.5), 0.07, -0.3, 500 + beat);
        shaker(&s.b, at(&s, beat + 0.75), 0.04, 0.3, 700 + beat);
    }
    return finish(&s, dir, 5, 0.3, 0.75, 1.0);
}

// The explosion: a falling boom under a burst of noise that darkens as it fades.
static bool effect_explosion(const char *path) {
    Buffer b = buffer_create((long)(1.8 * SYNTH_RATE), false);
    uint32_t sl = 0x1234567u, sr = 0x7654321u;
    double lo_l = 0, lo_r = 0, phase = 0;
    for (long i = 0; i < b.frames; i++) {
        double t = (double)i / SYNTH_RATE;
        double cutoff = 180 + 5000 * exp(-t * 5);
        double k = 1 - exp(-6.283185307179586 * cutoff / SYNTH_RATE);
        lo_l += (noise(&sl) - lo_l) * k;
        lo_r += (noise(&sr) - lo_r) * k;
        double env = exp(-t * 2.6) * (t < 0.005 ? t / 0.005 : 1) * (t > 1.6 ? (1.8 - t) / 0.2 : 1);
        phase += (38 + 60 * exp(-t * 8)) / SYNTH_RATE;
        double boom = sin(6.283185307179586 * phase) * exp(-t * 3.5) * (t < 0.005 ? t / 0.005 : 1) * (t > 1.6 ? (1.8 - t) / 0.2 : 1);
        b.l[i] = lo_l * env * 1.6 + boom;
        b.r[i] = lo_r * env * 1.6 + boom;
    }
    reverb(&b, 0.3, 0.7);
    // Heard at gain 1.0 and master 0.2.
    master(&b, 1.2, 0.9);
    bool ok = write_wav(path, &b);
    buffer_free(&b);
    return ok;
}

// The pick-up chime: three quick rising bells. Heard at gain 10 and master 0.2,
// so its peak of 0.12 is heard at 0.24 of full scale.
static bool effect_chime(const char *path) {
    Buffer b = buffer_create((long)(1.0 * SYNTH_RATE), false);
    static const int notes[3] = {88, 95, 100};
    for (int i = 0; i < 3; i++) bell(&b, (long)(i * 0.07 * SYNTH_RATE), midi_hz(notes[i]), 0.5, (i - 1) * 0.4, 0.18);
    for (long i = 0; i < b.frames; i++) {
        double t = (double)i / SYNTH_RATE;
        double fade = t > 0.85 ? (1.0 - t) / 0.15 : 1;
        b.l[i] *= fade;
        b.r[i] *= fade;
    }
    master(&b, 0, 0.12);
    bool ok = write_wav(path, &b);
    buffer_free(&b);
    return ok;
}

// Loudness of the vowel "a" at a frequency: three formant peaks.
static double formant(double hz) {
    static const double f[3] = {780, 1180, 2650}, bw[3] = {130, 140, 200}, amp[3] = {1.0, 0.7, 0.3};
    double g = 0.02;
    for (int i = 0; i < 3; i++) {
        double x = (hz - f[i]) / (bw[i] * 0.5);
        g += amp[i] / (1 + x * x);
    }
    return g;
}

// The mocking laugh: "ha ha ha ha haaa", each syllable lower, the last drawn out.
// Heard at gain 5 and master 0.2: its peak of 0.32 is heard at 0.32.
static bool effect_laugh(const char *path) {
    Buffer b = buffer_create((long)(1.7 * SYNTH_RATE), false);
    static const double pitch[5] = {330, 310, 292, 276, 262};
    static const double length[5] = {0.13, 0.13, 0.13, 0.13, 0.38};
    uint32_t seed = 0x42u;
    double start = 0.02;
    for (int s = 0; s < 5; s++) {
        long s0 = (long)(start * SYNTH_RATE);
        // Breath before the vowel.
        double prev = 0;
        for (long i = 0; i < (long)(0.04 * SYNTH_RATE); i++) {
            double x = noise(&seed);
            double v = (x - prev) * 0.06 * sin(3.14159265 * i / (0.04 * SYNTH_RATE));
            prev = x;
            b.l[s0 + i] += v;
            b.r[s0 + i] += v;
        }
        long v0 = s0 + (long)(0.03 * SYNTH_RATE), n = (long)(length[s] * SYNTH_RATE);
        double phase = 0;
        for (long i = 0; i < n; i++) {
            double t = (double)i / SYNTH_RATE;
            double f0 = pitch[s] * (1 - 0.12 * t / length[s]) * (1 + 0.02 * sin(6.283185307 * 6 * t));
            phase += f0 / SYNTH_RATE;
            double v = 0;
            for (int h = 1; h * f0 < 5000; h++) v += formant(h * f0) / h * sin(6.283185307179586 * phase * h);
            double env = (t < 0.015 ? t / 0.015 : 1) * (t > length[s] - 0.05 ? (length[s] - t) / 0.05 : 1);
            b.l[v0 + i] += v * env;
            b.r[v0 + i] += v * env * 0.9;
        }
        start += length[s] + 0.1;
    }
    reverb(&b, 0.2, 0.6);
    master(&b, 0, 0.32);
    bool ok = write_wav(path, &b);
    buffer_free(&b);
    return ok;
}

bool write_sounds(const char *dir) {
    bool ok = track_opening(dir) && track_dread(dir) && track_unease(dir) && track_steady(dir) && track_hope(dir) &&
              track_joy(dir);
    char path[1024];
    snprintf(path, sizeof path, "%s/explode.wav", dir);
    ok = ok && effect_explosion(path);
    snprintf(path, sizeof path, "%s/bling5.wav", dir);
    ok = ok && effect_chime(path);
    snprintf(path, sizeof path, "%s/laugh1.wav", dir);
    ok = ok && effect_laugh(path);
    return ok;
}
