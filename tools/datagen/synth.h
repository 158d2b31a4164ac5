// A small additive/FM synthesiser writing into looping stereo buffers.
#pragma once

#include <stdint.h>

#define SYNTH_RATE 44100

// A stereo buffer. When `loop` is set, everything written past the end wraps
// to the start, so the buffer plays seamlessly as a loop.
struct Buffer {
    double *l, *r;
    long frames;
    bool loop;
};

Buffer buffer_create(long frames, bool loop);
void buffer_free(Buffer *b);

double midi_hz(double note);
// Deterministic noise in [-1, 1).
double noise(uint32_t *state);

// Instruments: start in frames, durations in seconds, pan -1..1.
void pad(Buffer *b, long start, double seconds, double hz, double amp, double pan);
void bell(Buffer *b, long start, double hz, double amp, double pan, double decay);
void pluck(Buffer *b, long start, double hz, double amp, double pan, double decay);
void bass(Buffer *b, long start, double seconds, double hz, double amp);
void thump(Buffer *b, long start, double amp, double hz);
void wash(Buffer *b, long start, double seconds, double amp, double cutoff, uint32_t seed);
void shaker(Buffer *b, long start, double amp, double pan, uint32_t seed);

// Room reverb; for a loop it runs over two periods so the tail wraps exactly.
void reverb(Buffer *b, double wet, double feedback);
// Gentle saturation (drive > 0) then scaling so the peak is `peak` of full scale.
void master(Buffer *b, double drive, double peak);
// 16-bit stereo PCM WAV at SYNTH_RATE.
bool write_wav(const char *path, const Buffer *b);
