// The generated images and sounds in the build's bin/ (the tests' working
// directory): every sprite row inked where the table says, fonts that scan
// to a glyph per printable character, and WAV files the loader accepts,
// looping cleanly and never wrapping round in the mixer.
// Besides the checks on the pixels and samples themselves, every file goes
// through the game's own glyph scan and WAV loader.
#include <doctest/doctest.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "sound/sounds.h"
#include "os/memory.h"
#include "render/font.h"
#include "render/image.h"
#include "render/sprite.h"
#include "render/texture_array.h"
#include "sound/mixer.h"
#include "audio_test_support.h"
#include "sound/wav.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

std::vector<unsigned char> read_file(const char *path) {
    std::vector<unsigned char> bytes;
    FILE *f = fopen(path, "rb");
    if (!f) return bytes;
    long size = fseek(f, 0, SEEK_END) == 0 ? ftell(f) : -1;
    if (size > 0 && fseek(f, 0, SEEK_SET) == 0) {
        bytes.resize((size_t)size);
        bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
    }
    fclose(f);
    return bytes;
}

struct Picture {
    int w = 0, h = 0;
    std::vector<unsigned char> rgba;
    unsigned char alpha(int x, int y) const { return rgba[((size_t)y * w + x) * 4 + 3]; }
    const unsigned char *at(int x, int y) const { return &rgba[((size_t)y * w + x) * 4]; }
};

Picture load_picture(const char *path) {
    Picture p;
    std::vector<unsigned char> bytes = read_file(path);
    INFO("reading ", std::string(path), " from the working directory (the build's bin/)");
    REQUIRE(bytes.size() > 8);
    int channels = 0;
    unsigned char *px = stbi_load_from_memory(bytes.data(), (int)bytes.size(), &p.w, &p.h, &channels, 4);
    REQUIRE(px != nullptr);
    p.rgba.assign(px, px + (size_t)p.w * p.h * 4);
    stbi_image_free(px);
    return p;
}

struct Rect {
    int x, y, w, h;
};

std::vector<Rect> frames_of(int row) {
    const Sprite &s = sprite_table[row];
    int n = s.frame_count > 1 ? s.frame_count : 1;
    std::vector<Rect> r;
    for (int k = 0; k < n; k++) r.push_back({s.x + k * s.w, s.y, s.w, s.h});
    return r;
}

int inked_pixels(const Picture &p, Rect r) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++) n += p.alpha(x, y) != 0;
    return n;
}

// Pixels with alpha outside every row of the given range.
int stray_pixels(const Picture &p, int first_row, int end_row) {
    std::vector<unsigned char> covered((size_t)p.w * p.h, 0);
    for (int row = first_row; row < end_row; row++)
        for (Rect r : frames_of(row))
            for (int y = r.y; y < r.y + r.h && y < p.h; y++)
                for (int x = r.x; x < r.x + r.w && x < p.w; x++) covered[(size_t)y * p.w + x] = 1;
    int stray = 0;
    for (int y = 0; y < p.h; y++)
        for (int x = 0; x < p.w; x++) stray += !covered[(size_t)y * p.w + x] && p.alpha(x, y) != 0;
    return stray;
}

bool unused_row(int row) { return row >= 11 && row <= 15; }

}  // namespace

TEST_CASE("sprite sheet: every row is inked on its own pixels, frames differ, nothing else is drawn") {
    Picture p = load_picture("img/default.png");
    CHECK(p.w <= 2048);
    CHECK(p.h <= 2048);
    for (int row = 0; row < SPRITE_FIRST_BACKGROUND_ROW; row++) {
        std::vector<Rect> frames = frames_of(row);
        for (size_t k = 0; k < frames.size(); k++) {
            Rect r = frames[k];
            INFO("row ", row, " frame ", k);
            REQUIRE(r.x + r.w <= p.w);
            REQUIRE(r.y + r.h <= p.h);
            if (unused_row(row)) continue;
            // Small sparks and bubbles still cover a good part of their box.
            CHECK(inked_pixels(p, r) * 10 >= r.w * r.h);
        }
        if (frames.size() < 2) continue;
        Rect a = frames[0], b = frames[1];
        int differing = 0;
        for (int y = 0; y < a.h; y++)
            for (int x = 0; x < a.w; x++)
                differing += memcmp(p.at(a.x + x, a.y + y), p.at(b.x + x, b.y + y), 4) != 0;
        INFO("animated row ", row);
        CHECK(differing * 20 >= a.w * a.h);
    }
    CHECK(stray_pixels(p, 0, SPRITE_FIRST_BACKGROUND_ROW) == 0);
}

TEST_CASE("sprite sheet: the standing figure is the walking figure's second frame") {
    std::vector<Rect> walk = frames_of(37);
    Rect stand = frames_of(36)[0];
    REQUIRE(walk.size() == 2);
    CHECK(walk[1].x == stand.x);
    CHECK(walk[1].y == stand.y);
    CHECK(walk[1].w == stand.w);
    CHECK(walk[1].h == stand.h);
}

TEST_CASE("background sheet: opaque stage pictures growing darker from row 38 to row 42") {
    Picture p = load_picture("img/background.png");
    CHECK(p.w <= 2048);
    CHECK(p.h <= 2048);
    double previous = 256;
    for (int row = SPRITE_FIRST_BACKGROUND_ROW; row < SPRITE_TABLE_ROWS; row++) {
        Rect r = frames_of(row)[0];
        INFO("row ", row);
        REQUIRE(r.x + r.w <= p.w);
        REQUIRE(r.y + r.h <= p.h);
        int translucent = 0;
        double luma = 0;
        for (int y = r.y; y < r.y + r.h; y++) {
            for (int x = r.x; x < r.x + r.w; x++) {
                const unsigned char *c = p.at(x, y);
                translucent += c[3] != 255;
                luma += 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2];
            }
        }
        luma /= (double)r.w * r.h;
        CHECK(translucent == 0);
        CHECK(luma < previous);
        previous = luma;
    }
    // The last stage is close to black.
    CHECK(previous < 12);
    CHECK(stray_pixels(p, SPRITE_FIRST_BACKGROUND_ROW, SPRITE_TABLE_ROWS) == 0);
}

namespace {

struct InkBox {
    int left = 0, top = 0, width = 0, height = 0;
};

// The inked rectangle of one 16 x 16-grid cell, scanned as the font loader does.
InkBox scan_cell(const Picture &p, int code) {
    int cw = p.w / 16, ch = p.h / 16;
    int x0 = (code % 16) * cw, y0 = (code / 16) * ch;
    InkBox b;
    int first = -1, last = -1;
    for (int x = x0; x < x0 + cw; x++)
        for (int y = y0; y < y0 + ch; y++)
            if (p.alpha(x, y)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    if (first < 0) return b;
    int top = -1, bottom = -1;
    for (int y = y0; y < y0 + ch; y++)
        for (int x = first; x <= last; x++)
            if (p.alpha(x, y)) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
    b.left = first - x0;
    b.top = top - y0;
    b.width = last - first + 1;
    b.height = bottom - top + 1;
    return b;
}

}  // namespace

TEST_CASE("fonts: a glyph box for every printable character, on one baseline, nothing else inked") {
    const char *files[4] = {"img/small.png", "img/small_bold.png", "img/bigger.png", "img/bigger_bold.png"};
    for (const char *file : files) {
        INFO(std::string(file));
        Picture p = load_picture(file);
        CHECK(p.w <= 256);
        CHECK(p.w % 16 == 0);
        CHECK(p.h % 16 == 0);
        for (int code = 0; code < 256; code++) {
            InkBox b = scan_cell(p, code);
            INFO("character ", code);
            if (code > 32 && code < 127) {
                CHECK(b.width > 0);
                CHECK(b.height > 0);
            } else {
                CHECK(b.width == 0);
            }
        }
        // Letters without descenders share a bottom row, so lines of text sit
        // level; round ones may overshoot it by a pixel.
        int base = scan_cell(p, 'x').top + scan_cell(p, 'x').height;
        for (int code : {'m', 'A', 'H', 'X', '1'}) {
            InkBox b = scan_cell(p, code);
            INFO("character ", (char)code);
            CHECK(b.top + b.height == base);
        }
        for (int code : {'a', 'c', 'e', 'o', '0', '8'}) {
            InkBox b = scan_cell(p, code);
            INFO("character ", (char)code);
            CHECK(abs(b.top + b.height - base) <= 1);
        }
        CHECK(scan_cell(p, 'g').top + scan_cell(p, 'g').height > base);
        // Ink means alpha; fully transparent pixels carry no colour either.
        int coloured_clear = 0;
        for (int y = 0; y < p.h; y++)
            for (int x = 0; x < p.w; x++) {
                const unsigned char *c = p.at(x, y);
                coloured_clear += c[3] == 0 && (c[0] || c[1] || c[2]);
            }
        CHECK(coloured_clear == 0);
    }
}

namespace {

u32 le32(const unsigned char *p) { return p[0] | (p[1] << 8) | (p[2] << 16) | ((u32)p[3] << 24); }
u16 le16(const unsigned char *p) { return (u16)(p[0] | (p[1] << 8)); }

struct Wav {
    bool ok = false;
    u16 format = 0, channels = 0, bits = 0;
    u32 rate = 0;
    std::vector<i16> samples;  // interleaved left, right
};

// Walks the RIFF chunks the way the game's loader accepts them.
Wav read_wav(const char *path) {
    Wav w;
    std::vector<unsigned char> f = read_file(path);
    if (f.size() < 12 || memcmp(f.data(), "RIFF", 4) || memcmp(f.data() + 8, "WAVE", 4)) return w;
    if (le32(f.data() + 4) != f.size() - 8) return w;
    size_t at = 12;
    bool have_fmt = false, have_data = false;
    while (at + 8 <= f.size()) {
        u32 size = le32(f.data() + at + 4);
        const unsigned char *body = f.data() + at + 8;
        if (at + 8 + size > f.size()) return w;
        if (!memcmp(f.data() + at, "fmt ", 4)) {
            if (size != 16 && size != 18 && size != 40) return w;
            w.format = le16(body);
            w.channels = le16(body + 2);
            w.rate = le32(body + 4);
            w.bits = le16(body + 14);
            have_fmt = true;
        } else if (!memcmp(f.data() + at, "data", 4)) {
            if (size == 0 || size % 4) return w;
            w.samples.resize(size / 2);
            for (size_t i = 0; i < w.samples.size(); i++) w.samples[i] = (i16)le16(body + 2 * i);
            have_data = true;
        }
        at += 8 + size + (size & 1);
    }
    w.ok = have_fmt && have_data && at == f.size();
    return w;
}

// Each sound file is read once per process: the cases below all walk the
// same 45 MB.
const Wav &wav_of(const char *path) {
    static std::map<std::string, Wav> read;
    auto found = read.find(path);
    if (found == read.end()) found = read.emplace(path, read_wav(path)).first;
    return found->second;
}

struct DataSoundFile {
    const char *path;
    float gain;  // the sound bank's gain for it
    bool loops;
};

const DataSoundFile SOUND_FILES[9] = {
    {"audio/music0.wav", 0.4f, true},  {"audio/music1.wav", 0.8f, true},  {"audio/music2.wav", 0.8f, true},
    {"audio/music3.wav", 0.3f, true},  {"audio/music4.wav", 1.0f, true},  {"audio/music5.wav", 0.6f, true},
    {"audio/explode.wav", 1.0f, false}, {"audio/bling5.wav", 10.0f, false}, {"audio/laugh1.wav", 5.0f, false},
};

const float MASTER_VOLUME = 0.2f;
const int SAMPLE_RATE = 44100;

}  // namespace

TEST_CASE("the window icon: the .ico's 256-pixel image, a tile with clear corners and an opaque middle") {
    std::vector<unsigned char> png = read_file("img/icon.png");
    // The build's .ico lies in gen/ beside bin/; its first entry is the 256-pixel one.
    std::vector<unsigned char> ico = read_file("../gen/fathomer.ico");
    REQUIRE(ico.size() > 22);
    CHECK(ico[6] == 0);  // 0 stands for 256
    size_t length = ico[14] | ico[15] << 8 | ico[16] << 16 | (size_t)ico[17] << 24;
    size_t offset = ico[18] | ico[19] << 8 | ico[20] << 16 | (size_t)ico[21] << 24;
    REQUIRE(offset + length <= ico.size());
    CHECK(png == std::vector<unsigned char>(ico.begin() + (long)offset, ico.begin() + (long)(offset + length)));

    Picture p = load_picture("img/icon.png");
    CHECK(p.w == 256);
    CHECK(p.h == 256);
    CHECK(p.alpha(0, 0) == 0);
    CHECK(p.alpha(255, 255) == 0);
    CHECK(p.alpha(128, 128) == 255);
}

TEST_CASE("sounds: every file is 16-bit stereo PCM at 44100, music loops of 40 to 90 s, under 60 MB in all") {
    double total_bytes = 0;
    for (const DataSoundFile &s : SOUND_FILES) {
        INFO(std::string(s.path));
        const Wav &w = wav_of(s.path);
        REQUIRE(w.ok);
        CHECK(w.format == 1);
        CHECK(w.channels == 2);
        CHECK(w.bits == 16);
        CHECK(w.rate == SAMPLE_RATE);
        double seconds = w.samples.size() / 2.0 / SAMPLE_RATE;
        if (s.loops) {
            CHECK(seconds >= 40);
            CHECK(seconds <= 90);
        } else {
            CHECK(seconds > 0.2);
            CHECK(seconds < 5);
        }
        total_bytes += w.samples.size() * 2.0;
    }
    CHECK(total_bytes < 60e6);
}

TEST_CASE("sounds: music loops join without a click, effects start and end in silence") {
    for (const DataSoundFile &s : SOUND_FILES) {
        INFO(std::string(s.path));
        const Wav &w = wav_of(s.path);
        REQUIRE(w.ok);
        size_t frames = w.samples.size() / 2;
        REQUIRE(frames > 2);
        for (int ch = 0; ch < 2; ch++) {
            INFO("channel ", ch);
            int first = w.samples[ch], last = w.samples[(frames - 1) * 2 + ch];
            if (!s.loops) {
                CHECK(abs(first) <= 256);
                CHECK(abs(last) <= 256);
                continue;
            }
            // The step from the last frame back to the first is no larger than
            // the steps the music takes anyway.
            double mean_step = 0;
            for (size_t i = 1; i < frames; i++) mean_step += abs(w.samples[i * 2 + ch] - w.samples[(i - 1) * 2 + ch]);
            mean_step /= (double)(frames - 1);
            CHECK(abs(first - last) <= 4 * mean_step + 64);
        }
    }
}

TEST_CASE("sounds: at the bank's gain and master volume nothing wraps round, and music is clearly heard") {
    for (const DataSoundFile &s : SOUND_FILES) {
        INFO(std::string(s.path));
        const Wav &w = wav_of(s.path);
        REQUIRE(w.ok);
        // The mixer's gain: voice volume 1.0 times master volume times the sound's gain, in float.
        float g = 1.0f * MASTER_VOLUME * s.gain;
        int loudest = 0, clipped = 0;
        double sum_squares = 0;
        for (i16 v : w.samples) {
            int heard = (int)(float(v) * g);
            if (abs(heard) > loudest) loudest = abs(heard);
            clipped += v == 32767 || v == -32768;
            sum_squares += (double)v * v;
        }
        double rms_heard = sqrt(sum_squares / (double)w.samples.size()) * g;
        CHECK(loudest <= 32767);
        CHECK(clipped == 0);
        if (s.loops) {
            CHECK(loudest >= 0.05 * 32767);
            CHECK(rms_heard >= 0.01 * 32767);
        }
    }
}

TEST_CASE("every font scans to a glyph per printable character and every sound loads, through the game's loaders") {
    if (!temp_arena.base) arena_create(&temp_arena, 1 << 20);  // paths are joined there
    const char *fonts[4] = {"img/small.png", "img/small_bold.png", "img/bigger.png", "img/bigger_bold.png"};
    for (const char *file : fonts) {
        INFO(std::string(file));
        Image image = load_image(str_from_cstr(file), FONT_COLUMN_WIDTH, TEXTURE_ARRAY_SIZE);
        REQUIRE(image.pixels);
        Font font = {};
        build_font_glyphs(&image, &font);
        REQUIRE(font.glyphs);
        for (int code = 33; code < 127; code++) {
            INFO("character ", code);
            CHECK(font.glyphs[code].width > 0);
            CHECK(font.glyphs[code].height > 0);
        }
        os_free(image.pixels);
        os_free(font.glyphs);
    }

    open_test_mixer(MASTER_VOLUME);
    for (const DataSoundFile &s : SOUND_FILES) {
        INFO(std::string(s.path));
        SoundHandle sound = init_wav_from_file_data(str_from_cstr(s.path), s.gain);
        REQUIRE(sound != 0);
        const Wav &w = wav_of(s.path);
        const Sound *loaded = os_get_sound(sound);
        REQUIRE(loaded);
        CHECK(loaded->byte_length == w.samples.size() * 2);
        os_destroy_sound(sound);
    }
    close_test_mixer();
}
