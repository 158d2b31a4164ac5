#include <stdio.h>

#include <string>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include "audio_test_support.h"
#include "sound/wav.h"
#include "tests/stdout_capture.h"

typedef std::vector<u8> Bytes;

static void put_u16(Bytes &b, u32 v) {
    b.push_back((u8)v);
    b.push_back((u8)(v >> 8));
}

static void put_u32(Bytes &b, u32 v) {
    put_u16(b, v & 0xFFFF);
    put_u16(b, v >> 16);
}

static void put_id(Bytes &b, const char *id) {
    for (int i = 0; i < 4; i++) b.push_back((u8)id[i]);
}

// A chunk with its pad byte when the body is odd-sized.
static Bytes chunk(const char *id, const Bytes &body) {
    Bytes b;
    put_id(b, id);
    put_u32(b, (u32)body.size());
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

static Bytes fmt_body(u32 format, u32 channels, u32 rate, u32 bits, size_t size = 16) {
    Bytes b;
    put_u16(b, format);
    put_u16(b, channels);
    put_u32(b, rate);
    put_u32(b, rate * channels * bits / 8);
    put_u16(b, channels * bits / 8);
    put_u16(b, bits);
    while (b.size() < size) b.push_back(0);  // extension size and extension
    return b;
}

static Bytes pcm(const std::vector<i16> &samples) {
    Bytes b;
    for (i16 s : samples) put_u16(b, (u16)s);
    return b;
}

static Bytes riff(const std::vector<Bytes> &chunks) {
    Bytes all;
    for (const Bytes &c : chunks) all.insert(all.end(), c.begin(), c.end());
    Bytes b;
    put_id(b, "RIFF");
    put_u32(b, (u32)all.size() + 4);
    put_id(b, "WAVE");
    b.insert(b.end(), all.begin(), all.end());
    return b;
}

static const std::vector<i16> SAMPLES = {100, -100, 32767, -32768, 5, 6};

static Bytes plain_wav(void) { return riff({chunk("fmt ", fmt_body(1, 2, 44100, 16)), chunk("data", pcm(SAMPLES))}); }

struct Loaded {
    SoundHandle sound;
    std::string log;
};

// Writes the bytes to a file beside the test and loads it, collecting the log.
// Test cases run in parallel processes, so the file name carries the process id.
static Loaded load(const Bytes &file, f32 gain = 1.0f) {
    std::string path = "test_wav_input_" + std::to_string(getpid()) + ".wav";
    const char *name = path.c_str();
    FILE *f = fopen(name, "wb");
    REQUIRE(f);
    if (!file.empty()) fwrite(file.data(), 1, file.size(), f);
    fclose(f);
    capture_stdout_begin();
    SoundHandle sound = init_wav_from_file_data(str_from_cstr(name), gain);
    std::string log = capture_stdout_end();
    remove(name);
    return Loaded{sound, log};
}

static bool holds_samples(SoundHandle sound, const std::vector<i16> &samples) {
    const Sound *s = os_get_sound(sound);
    return s && s->byte_length == samples.size() * 2 && memcmp(s->samples, samples.data(), s->byte_length) == 0;
}

TEST_CASE("a 16-bit stereo PCM file loads with 16-, 18- and 40-byte fmt chunks, and its gain") {
    open_test_mixer(1.0f);
    Loaded a = load(plain_wav(), 0.4f);
    CHECK(a.sound == 0x100000000ull);
    CHECK(holds_samples(a.sound, SAMPLES));
    CHECK(os_get_sound(a.sound)->gain == 0.4f);
    CHECK(a.log == "");

    Loaded b = load(riff({chunk("fmt ", fmt_body(1, 2, 44100, 16, 18)), chunk("data", pcm(SAMPLES))}));
    CHECK(holds_samples(b.sound, SAMPLES));
    Loaded c = load(riff({chunk("fmt ", fmt_body(1, 2, 44100, 16, 40)), chunk("data", pcm(SAMPLES))}));
    CHECK(holds_samples(c.sound, SAMPLES));
    // Any positive rate is taken; the sound plays at the output rate.
    Loaded d = load(riff({chunk("fmt ", fmt_body(1, 2, 22050, 16)), chunk("data", pcm(SAMPLES))}));
    CHECK(holds_samples(d.sound, SAMPLES));

    Loaded e = load(riff({chunk("fmt ", fmt_body(1, 2, 44100, 16, 20)), chunk("data", pcm(SAMPLES))}));
    CHECK(e.sound == 0);
    CHECK(e.log == "");
    close_test_mixer();
}

TEST_CASE("metadata chunks are stepped over silently, an odd-sized LIST with its pad byte") {
    open_test_mixer(1.0f);
    Loaded a = load(riff({chunk("fmt ", fmt_body(1, 2, 44100, 16)), chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'x'}),
                          chunk("cue ", Bytes(4, 1)), chunk("fact", Bytes(4, 2)), chunk("bext", Bytes(3, 3)),
                          chunk("LGWV", Bytes(9, 4)), chunk("data", pcm(SAMPLES))}));
    CHECK(holds_samples(a.sound, SAMPLES));
    CHECK(a.log == "");
    close_test_mixer();
}

TEST_CASE("unknown and nested RIFF chunks are logged with their tags and stepped over") {
    open_test_mixer(1.0f);
    Loaded a = load(riff({chunk("JUNK", Bytes(3, 7)), chunk("fmt ", fmt_body(1, 2, 44100, 16)),
                          chunk("RIFF", Bytes{'W', 'A', 'V', 'E'}), chunk("data", pcm(SAMPLES))}));
    CHECK(holds_samples(a.sound, SAMPLES));
    CHECK(a.log ==
          "[init_wav_from_file_data:128] Unknown WAV chunk! 1263424842 (JUNK)\n"
          "[init_wav_from_file_data:67] ERROR? 4 RIFF chunk in WAV data, this shouldn't be here..?\n");
    close_test_mixer();
}

TEST_CASE("the last fmt and data chunks win") {
    open_test_mixer(1.0f);
    std::vector<i16> later = {9, 9, 8, 8};
    Loaded a = load(riff({chunk("fmt ", fmt_body(1, 1, 44100, 8)), chunk("data", pcm(SAMPLES)),
                          chunk("fmt ", fmt_body(1, 2, 44100, 16)), chunk("data", pcm(later))}));
    CHECK(holds_samples(a.sound, later));
    Loaded b = load(riff({chunk("fmt ", fmt_body(1, 2, 44100, 16)), chunk("data", pcm(SAMPLES)),
                          chunk("fmt ", fmt_body(1, 1, 44100, 16))}));
    CHECK(b.sound == 0);
    close_test_mixer();
}

TEST_CASE("formats other than integer PCM are named in the log and refused") {
    open_test_mixer(1.0f);
    const struct {
        u32 code;
        const char *log;
    } cases[] = {
        {3, "WAV_FMT_IEEE_FLOAT.\n"}, {6, "WAV_FMT_ALAW.\n"},      {7, "WAV_FMT_MULAW.\n"},
        {0xFFFE, "WAV_FMT_EXTENSIBLE.\n"}, {2, "???.\n"},
    };
    for (const auto &c : cases) {
        Loaded a = load(riff({chunk("fmt ", fmt_body(c.code, 2, 44100, c.code == 3 ? 32 : 16)),
                              chunk("data", pcm(SAMPLES))}));
        CHECK(a.sound == 0);
        CHECK(a.log == c.log);
    }
    CHECK(audio_state.sound_count == 0);
    close_test_mixer();
}

TEST_CASE("mono, 8-bit, partial-frame, rateless and dataless files are refused silently") {
    open_test_mixer(1.0f);
    const Bytes refused[] = {
        riff({chunk("fmt ", fmt_body(1, 1, 44100, 16)), chunk("data", pcm(SAMPLES))}),
        riff({chunk("fmt ", fmt_body(1, 2, 44100, 8)), chunk("data", pcm(SAMPLES))}),
        riff({chunk("fmt ", fmt_body(1, 2, 44100, 16)), chunk("data", pcm({1, 2, 3}))}),  // 6 bytes
        riff({chunk("fmt ", fmt_body(1, 2, 0, 16)), chunk("data", pcm(SAMPLES))}),
        riff({chunk("fmt ", fmt_body(1, 2, 0x80000000u, 16)), chunk("data", pcm(SAMPLES))}),  // negative
        riff({chunk("fmt ", fmt_body(1, 2, 44100, 16)), chunk("LIST", Bytes(20, 0))}),
        riff({chunk("data", pcm(SAMPLES))}),
    };
    for (const Bytes &file : refused) {
        Loaded a = load(file);
        CHECK(a.sound == 0);
        CHECK(a.log == "");
    }
    CHECK(audio_state.sound_count == 0);
    close_test_mixer();
}

TEST_CASE("an empty data chunk is logged with its tag and refused") {
    open_test_mixer(1.0f);
    Loaded a = load(riff({chunk("fmt ", fmt_body(1, 2, 44100, 16)), chunk("data", Bytes{}), chunk("LIST", Bytes(4, 0))}));
    CHECK(a.sound == 0);
    CHECK(a.log == "[init_wav_from_file_data:105] No sample data in WAV.\n");
    // As the last chunk its 8 header bytes are not more than 8 remaining: the
    // walk ends before it and the file has no data chunk.
    Loaded b = load(riff({chunk("fmt ", fmt_body(1, 2, 44100, 16)), chunk("data", Bytes{})}));
    CHECK(b.sound == 0);
    CHECK(b.log == "");
    close_test_mixer();
}

TEST_CASE("truncated files and sizes that reach past the end are refused without a word") {
    open_test_mixer(1.0f);
    Bytes whole = plain_wav();
    // Cut anywhere: the RIFF size then claims more than the file holds.
    for (size_t cut = 0; cut < whole.size(); cut++) {
        Loaded a = load(Bytes(whole.begin(), whole.begin() + (long)cut));
        REQUIRE(a.sound == 0);
        REQUIRE(a.log == "");
    }

    // A data chunk whose size reaches past the end, inside a RIFF size that fits.
    Bytes oversize = plain_wav();
    oversize[40] = 0xF0;  // low byte of the data size
    Loaded b = load(oversize);
    CHECK(b.sound == 0);
    // The same at the file's exact end: the data chunk is last and claims one
    // to eight bytes more than follow it (one and two whole frames among them).
    for (u8 over = 1; over <= 8; over++) {
        CAPTURE(over);
        Bytes past = plain_wav();
        REQUIRE(past.size() == 44 + SAMPLES.size() * 2);
        past[40] = (u8)(SAMPLES.size() * 2 + over);
        Loaded p = load(past);
        CHECK(p.sound == 0);
        CHECK(p.log == "");
    }
    // An unknown chunk whose size reaches past the end is refused before it is logged.
    Bytes huge = riff({chunk("fmt ", fmt_body(1, 2, 44100, 16)), chunk("JUNK", Bytes(4, 0))});
    huge[40] = 0xFF;
    huge[41] = 0xFF;
    huge[42] = 0xFF;
    huge[43] = 0xFF;
    Loaded c = load(huge);
    CHECK(c.sound == 0);
    CHECK(c.log == "");

    // Not RIFF, not WAVE, or a RIFF size of 12 or less.
    Bytes not_riff = plain_wav();
    not_riff[0] = 'X';
    CHECK(load(not_riff).sound == 0);
    Bytes not_wave = plain_wav();
    not_wave[8] = 'X';
    CHECK(load(not_wave).sound == 0);
    Bytes small = plain_wav();
    small[4] = 12;
    small[5] = small[6] = small[7] = 0;
    CHECK(load(small).sound == 0);
    CHECK(audio_state.sound_count == 0);

    // Bytes after the RIFF size are not walked: trailing junk does not matter.
    Bytes trailing = plain_wav();
    trailing.insert(trailing.end(), {'J', 'U', 'N', 'K', 0xFF, 0xFF, 0xFF, 0xFF});
    Loaded d = load(trailing);
    CHECK(holds_samples(d.sound, SAMPLES));
    CHECK(d.log == "");
    close_test_mixer();
}

TEST_CASE("a missing file, or a closed device, gives the null handle") {
    open_test_mixer(1.0f);
    CHECK(init_wav_from_file_data(STR("no such file.wav"), 1.0f) == 0);
    audio_device.initialised = false;
    CHECK(load(plain_wav()).sound == 0);
    CHECK(audio_state.sound_count == 0);
    close_test_mixer();
}
