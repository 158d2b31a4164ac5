#include "synth.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const double TAU = 6.283185307179586;

#define SINE_SIZE 4096
static double sine_table[SINE_SIZE + 1];

static void init_sine_table() {
    if (sine_table[1] == 0)
        for (int i = 0; i <= SINE_SIZE; i++) sine_table[i] = sin(TAU * i / SINE_SIZE);
}

// Sine of a phase in cycles, from the table.
static inline double osc(double phase) {
    long whole = (long)phase;
    if (phase < whole) whole--;
    double x = (phase - whole) * SINE_SIZE;
    int i = (int)x;
    return sine_table[i] + (sine_table[i + 1] - sine_table[i]) * (x - i);
}

Buffer buffer_create(long frames, bool loop) {
    init_sine_table();
    Buffer b = {};
    b.frames = frames;
    b.loop = loop;
    b.l = (double *)calloc((size_t)frames, sizeof(double));
    b.r = (double *)calloc((size_t)frames, sizeof(double));
    return b;
}

void buffer_free(Buffer *b) {
    free(b->l);
    free(b->r);
    *b = Buffer{};
}

// Where one note writes: a running frame index that wraps in a loop, and
// equal-power pan gains.
struct Voice {
    Buffer *b;
    long frame;
    double gl, gr;
};

static Voice voice(Buffer *b, long start, double pan) {
    Voice v;
    v.b = b;
    v.frame = b->loop ? ((start % b->frames) + b->frames) % b->frames : start;
    double a = (pan + 1) * 0.25 * 3.141592653589793;
    v.gl = cos(a) * 1.4142135623730951;
    v.gr = sin(a) * 1.4142135623730951;
    return v;
}

// Adds one sample and steps on.
static void put(Voice *v, double x) {
    Buffer *b = v->b;
    if (v->frame >= 0 && v->frame < b->frames) {
        b->l[v->frame] += x * v->gl;
        b->r[v->frame] += x * v->gr;
    }
    if (++v->frame == b->frames && b->loop) v->frame = 0;
}

double midi_hz(double note) { return 440.0 * pow(2.0, (note - 69) / 12.0); }

double noise(uint32_t *state) {
    *state = *state * 1664525u + 1013904223u;
    return (*state >> 8) / 8388608.0 - 1.0;
}

static double ramp(double t, double attack, double release, double length) {
    double e = 1;
    if (t < attack) e = t / attack;
    if (t > length - release) e = (length - t) / release;
    return e < 0 ? 0 : e;
}

void pad(Buffer *b, long start, double seconds, double hz, double amp, double pan) {
    long n = (long)(seconds * SYNTH_RATE);
    double attack = seconds * 0.3, release = seconds * 0.35;
    // Three harmonics, each a slightly detuned pair, as rotating phasors.
    static const double level[3] = {1, 0.34, 0.16};
    static const double detune[2] = {1.003, 0.997};
    double re[6], im[6], cr[6], ci[6], lv[6];
    for (int k = 0; k < 6; k++) {
        double w = TAU * hz * (k / 2 + 1) * detune[k % 2] / SYNTH_RATE;
        re[k] = cos(0.3 * (k % 2) * TAU), im[k] = sin(0.3 * (k % 2) * TAU);
        cr[k] = cos(w), ci[k] = sin(w);
        lv[k] = level[k / 2];
    }
    Voice out = voice(b, start, pan);
    for (long i = 0; i < n; i++) {
        double t = (double)i / SYNTH_RATE;
        double e = ramp(t, attack, release, seconds);
        e = e * e * (3 - 2 * e);
        double v = 0;
        for (int k = 0; k < 6; k++) {
            v += lv[k] * im[k];
            double r = re[k] * cr[k] - im[k] * ci[k];
            im[k] = im[k] * cr[k] + re[k] * ci[k];
            re[k] = r;
        }
        put(&out, v * 0.5 * e * amp);
    }
}

void bell(Buffer *b, long start, double hz, double amp, double pan, double decay) {
    long n = (long)(decay * 4 * SYNTH_RATE);
    Voice out = voice(b, start, pan);
    double index = 2.4, index_k = exp(-3.5 / SYNTH_RATE), e = 1, e_k = exp(-1 / (decay * SYNTH_RATE));
    for (long i = 0; i < n; i++) {
        double t = (double)i / SYNTH_RATE;
        double shape = (t < 0.004 ? t / 0.004 : 1) * ramp(t, 0, 0.05, (double)n / SYNTH_RATE);
        double v = osc(t * hz + index * osc(t * hz * 3.5) / TAU) + 0.25 * osc(t * hz * 2.76);
        put(&out, v * e * shape * amp);
        index *= index_k;
        e *= e_k;
    }
}

void pluck(Buffer *b, long start, double hz, double amp, double pan, double decay) {
    long n = (long)(decay * 4 * SYNTH_RATE);
    Voice out = voice(b, start, pan);
    double index = 1.6, index_k = exp(-12.0 / SYNTH_RATE), e = 1, e_k = exp(-1 / (decay * SYNTH_RATE));
    for (long i = 0; i < n; i++) {
        double t = (double)i / SYNTH_RATE;
        double shape = (t < 0.003 ? t / 0.003 : 1) * ramp(t, 0, 0.05, (double)n / SYNTH_RATE);
        double v = osc(t * hz + index * osc(t * hz) / TAU * 2);
        put(&out, v * e * shape * amp);
        index *= index_k;
        e *= e_k;
    }
}

void bass(Buffer *b, long start, double seconds, double hz, double amp) {
    long n = (long)(seconds * SYNTH_RATE);
    Voice out = voice(b, start, 0);
    for (long i = 0; i < n; i++) {
        double t = (double)i / SYNTH_RATE;
        double e = ramp(t, 0.02, 0.08, seconds) * (0.6 + 0.4 * exp(-t * 3));
        double v = osc(t * hz) + 0.3 * osc(t * hz * 2) + 0.08 * osc(t * hz * 3);
        put(&out, v * e * amp);
    }
}

void thump(Buffer *b, long start, double amp, double hz) {
    long n = (long)(0.4 * SYNTH_RATE);
    double phase = 0;
    Voice out = voice(b, start, 0);
    for (long i = 0; i < n; i++) {
        double t = (double)i / SYNTH_RATE;
        double f = hz * (1 + 1.5 * exp(-t * 30));
        phase += f / SYNTH_RATE;
        double e = exp(-t * 9) * (t < 0.003 ? t / 0.003 : 1) * ramp(t, 0, 0.05, 0.4);
        put(&out, osc(phase) * e * amp);
    }
}

void wash(Buffer *b, long start, double seconds, double amp, double cutoff, uint32_t seed) {
    long n = (long)(seconds * SYNTH_RATE);
    double k = 1 - exp(-TAU * cutoff / SYNTH_RATE);
    double lo_l = 0, lo_r = 0, lo2_l = 0, lo2_r = 0;
    uint32_t sl = seed, sr = seed ^ 0x5bd1e995u;
    Voice left = voice(b, start, -1), right = voice(b, start, 1);
    for (long i = 0; i < n; i++) {
        double t = (double)i / SYNTH_RATE;
        double e = sin(3.141592653589793 * t / seconds);
        lo_l += (noise(&sl) - lo_l) * k;
        lo_r += (noise(&sr) - lo_r) * k;
        lo2_l += (lo_l - lo2_l) * k;
        lo2_r += (lo_r - lo2_r) * k;
        put(&left, lo2_l * e * e * amp);
        put(&right, lo2_r * e * e * amp);
    }
}

void shaker(Buffer *b, long start, double amp, double pan, uint32_t seed) {
    long n = (long)(0.08 * SYNTH_RATE);
    double prev = 0;
    Voice out = voice(b, start, pan);
    for (long i = 0; i < n; i++) {
        double t = (double)i / SYNTH_RATE;
        double x = noise(&seed);
        double hp = x - prev;
        prev = x;
        put(&out, hp * exp(-t * 60) * (t < 0.002 ? t / 0.002 : 1) * amp);
    }
}

#define COMBS 4
#define ALLPASSES 2

void reverb(Buffer *b, double wet, double feedback) {
    static const int comb_len[COMBS] = {1557, 1617, 1491, 1422};
    static const int allpass_len[ALLPASSES] = {556, 225};
    double *ch[2] = {b->l, b->r};
    long frames = b->frames;
    for (int c = 0; c < 2; c++) {
        double *comb[COMBS], *ap[ALLPASSES], damp[COMBS] = {};
        int ci[COMBS] = {}, ai[ALLPASSES] = {};
        int spread = c * 23;
        for (int k = 0; k < COMBS; k++) comb[k] = (double *)calloc(comb_len[k] + spread, sizeof(double));
        for (int k = 0; k < ALLPASSES; k++) ap[k] = (double *)calloc(allpass_len[k] + spread, sizeof(double));
        double *out = (double *)calloc((size_t)frames, sizeof(double));
        // A loop is fed twice and the second period kept: the tail of its end
        // then lies over its start, exactly as when it plays round.
        long total = b->loop ? frames * 2 : frames;
        for (long i = 0; i < total; i++) {
            double x = ch[c][i % frames] * 0.25;
            double y = 0;
            for (int k = 0; k < COMBS; k++) {
                double *buf = comb[k];
                double o = buf[ci[k]];
                damp[k] = o * 0.7 + damp[k] * 0.3;
                buf[ci[k]] = x + damp[k] * feedback;
                if (++ci[k] >= comb_len[k] + spread) ci[k] = 0;
                y += o;
            }
            for (int k = 0; k < ALLPASSES; k++) {
                double *buf = ap[k];
                double o = buf[ai[k]];
                buf[ai[k]] = y + o * 0.5;
                y = o - y * 0.5;
                if (++ai[k] >= allpass_len[k] + spread) ai[k] = 0;
            }
            if (i >= total - frames) out[i - (total - frames)] = y;
        }
        for (long i = 0; i < frames; i++) ch[c][i] = ch[c][i] * (1 - wet * 0.5) + out[i] * wet;
        free(out);
        for (int k = 0; k < COMBS; k++) free(comb[k]);
        for (int k = 0; k < ALLPASSES; k++) free(ap[k]);
    }
}

void master(Buffer *b, double drive, double peak) {
    double m = 0;
    for (long i = 0; i < b->frames; i++) {
        if (fabs(b->l[i]) > m) m = fabs(b->l[i]);
        if (fabs(b->r[i]) > m) m = fabs(b->r[i]);
    }
    if (m <= 0) return;
    double norm = drive > 0 ? tanh(drive) : 1;
    for (long i = 0; i < b->frames; i++) {
        double l = b->l[i] / m, r = b->r[i] / m;
        if (drive > 0) l = tanh(l * drive) / norm, r = tanh(r * drive) / norm;
        b->l[i] = l * peak;
        b->r[i] = r * peak;
    }
}

static void put_u32(unsigned char *p, uint32_t v) {
    for (int i = 0; i < 4; i++) p[i] = (unsigned char)(v >> (8 * i));
}

static void put_u16(unsigned char *p, uint16_t v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
}

static int16_t to_pcm(double v) {
    double s = floor(v * 32767.0 + 0.5);
    if (s > 32767) s = 32767;
    if (s < -32767) s = -32767;
    return (int16_t)s;
}

bool write_wav(const char *path, const Buffer *b) {
    uint32_t data_bytes = (uint32_t)(b->frames * 4);
    unsigned char header[44];
    memcpy(header, "RIFF", 4);
    put_u32(header + 4, 36 + data_bytes);
    memcpy(header + 8, "WAVEfmt ", 8);
    put_u32(header + 16, 16);
    put_u16(header + 20, 1);  // integer PCM
    put_u16(header + 22, 2);
    put_u32(header + 24, SYNTH_RATE);
    put_u32(header + 28, SYNTH_RATE * 4);
    put_u16(header + 32, 4);
    put_u16(header + 34, 16);
    memcpy(header + 36, "data", 4);
    put_u32(header + 40, data_bytes);
    unsigned char *data = (unsigned char *)malloc(data_bytes);
    for (long i = 0; i < b->frames; i++) {
        put_u16(data + i * 4, (uint16_t)to_pcm(b->l[i]));
        put_u16(data + i * 4 + 2, (uint16_t)to_pcm(b->r[i]));
    }
    FILE *f = fopen(path, "wb");
    bool ok = f && fwrite(header, 1, 44, f) == 44 && fwrite(data, 1, data_bytes, f) == data_bytes;
    if (f && fclose(f) != 0) ok = false;
    free(data);
    if (!ok) fprintf(stderr, "datagen: cannot write %s\n", path);
    return ok;
}
