// Ogg Vorbis sounds: the page checks refuse short and damaged files before
// anything is decoded, the Vorbis headers' lengths are held to their packet,
// and a known tone decodes to the samples it was made from.
#include <doctest/doctest.h>

#include <stdlib.h>
#include <string.h>

#include <string>

#include "audio_test_support.h"
#include "os/files.h"
#include "os/memory.h"
#include "sound/ogg.h"
#include "sound/vorbis.h"
#include "tests/file_test_support.h"
#include "tests/stdout_capture.h"

// Made at build time (tools/web_data): a half-second tone, 441 Hz left and
// 882 Hz right, as WAV and as Ogg Vorbis; and a mono 22050 Hz one.
static std::string fixture(const char *name) {
    Str dir = os_get_exe_dir();
    return std::string(dir.data, dir.len) + "../ogg_fixtures/" + name;
}

static const u8 *bytes_of(const std::string &s) { return (const u8 *)s.data(); }

static u8 check(const std::string &file, u64 *at = nullptr) {
    OggStream stream;
    u64 where = 0;
    u8 error = ogg_check_pages(bytes_of(file), file.size(), &stream, &where);
    if (at) *at = where;
    return error;
}

static u64 page_size_at(const std::string &file, u64 offset) {
    u8 segments = (u8)file[offset + 26];
    u64 size = OGG_PAGE_HEADER_SIZE + segments;
    for (u32 i = 0; i < segments; i++) size += (u8)file[offset + OGG_PAGE_HEADER_SIZE + i];
    return size;
}

// Writes a page's checksum again after it was changed on purpose.
static void reseal(std::string *file, u64 offset) {
    u32 crc = ogg_page_crc(bytes_of(*file) + offset, page_size_at(*file, offset));
    memcpy(&(*file)[offset + 22], &crc, 4);
}

TEST_CASE("a whole Ogg stream passes the page checks with its length, and every damage is found at its page") {
    std::string tone = read_raw(fixture("tone.ogg"));
    REQUIRE(tone.size() > 200);
    OggStream stream;
    u64 at = 0;
    REQUIRE(ogg_check_pages(bytes_of(tone), tone.size(), &stream, &at) == OGG_OK);
    CHECK(stream.last_granule == 22050);
    CHECK(stream.page_count >= 3);
    CHECK(stream.serial == 7);
    u64 second = page_size_at(tone, 0);

    // Every shorter file is refused: inside a page, or at a page's end
    // without the stream's last page.
    for (u64 cut = 0; cut < tone.size(); cut += 11) {
        CAPTURE(cut);
        u8 error = check(tone.substr(0, cut));
        CHECK(error != OGG_OK);
    }
    CHECK(check(tone.substr(0, second)) == OGG_NO_END);
    CHECK(check(tone.substr(0, second + 30), &at) == OGG_CUT_SHORT);
    CHECK(at == second);
    CHECK(check(tone.substr(0, 3)) == OGG_NOT_OGG);
    CHECK(check(std::string()) == OGG_NOT_OGG);

    std::string damaged = tone;
    damaged[second + 40] ^= 0x01;
    CHECK(check(damaged, &at) == OGG_BAD_CRC);
    CHECK(at == second);

    std::string other = tone;
    other[0] = 'o';
    CHECK(check(other) == OGG_NOT_OGG);
    other = tone;
    other[second + 3] = 'T';
    CHECK(check(other, &at) == OGG_LOST_CAPTURE);
    CHECK(at == second);

    std::string version = tone;
    version[second + 4] = 1;
    reseal(&version, second);
    CHECK(check(version) == OGG_BAD_VERSION);

    std::string skipped = tone;
    skipped[second + 18] = 5;
    reseal(&skipped, second);
    CHECK(check(skipped) == OGG_PAGE_MISSING);

    std::string serial = tone;
    serial[second + 14] ^= 1;
    reseal(&serial, second);
    CHECK(check(serial) == OGG_OTHER_STREAM);

    // A second stream after the first (a chained file), or bytes after it.
    CHECK(check(tone + tone, &at) == OGG_OTHER_STREAM);
    CHECK(at == tone.size());
    CHECK(check(tone + "x") == OGG_OTHER_STREAM);

    std::string not_first = tone;
    not_first[5] = 0;
    reseal(&not_first, 0);
    CHECK(check(not_first) == OGG_NOT_FIRST);
}

TEST_CASE("the known tone decodes to the samples it was made from, within a small tolerance") {
    std::string ogg = read_raw(fixture("tone.ogg"));
    std::string wav = read_raw(fixture("tone.wav"));
    // sox writes a plain 44-byte header before the samples.
    REQUIRE(wav.size() == 44 + 22050 * 4);
    OggStream stream;
    u64 at;
    REQUIRE(ogg_check_pages(bytes_of(ogg), ogg.size(), &stream, &at) == OGG_OK);
    VorbisSound sound;
    VorbisFormat format;
    REQUIRE(vorbis_decode(bytes_of(ogg), ogg.size(), &stream, &sound, &format) == VORBIS_OK);
    CHECK(format.channels == 2);
    CHECK(format.rate == 44100);
    REQUIRE(sound.frame_count == 22050);
    const i16 *expected = (const i16 *)(wav.data() + 44);
    // The tone starts at full strength: its first milliseconds are coded
    // less closely than the steady part.
    int worst = 0, worst_steady = 0;
    double error_energy = 0, energy = 0;
    for (u32 i = 0; i < 22050 * 2; i++) {
        int d = abs(sound.samples[i] - expected[i]);
        if (d > worst) worst = d;
        if (i < 2048 || i >= 22050 * 2 - 2048) continue;
        if (d > worst_steady) worst_steady = d;
        error_energy += (double)d * d;
        energy += (double)expected[i] * expected[i];
    }
    MESSAGE("largest difference " << worst << ", steady " << worst_steady << ", error energy "
                                  << error_energy / energy);
    // Half of full scale: the tone's peaks lie near 16384.
    CHECK(worst < 2048);
    CHECK(worst_steady < 1024);
    // About -41 dB; a frame out of place would be -24 dB, swapped channels 0 dB.
    CHECK(error_energy / energy < 2e-4);
    os_free(sound.samples);
}

TEST_CASE("Vorbis headers are refused when their lengths reach past their packet, or for another format") {
    std::string tone = read_raw(fixture("tone.ogg"));
    VorbisFormat format;
    REQUIRE(vorbis_check_headers(bytes_of(tone), tone.size(), &format) == VORBIS_OK);

    // The comment header opens the second page: its vendor length follows
    // the packet type and "vorbis".
    u64 second = page_size_at(tone, 0);
    u64 comment = second + OGG_PAGE_HEADER_SIZE + (u8)tone[second + 26];
    REQUIRE(tone.compare(comment, 7, "\x03vorbis") == 0);
    u32 vendor;
    memcpy(&vendor, &tone[comment + 7], 4);
    // 0x70000000 made the decoder allocate 1.8 GB and read for 40 s.
    const u32 lengths[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0x70000000u, 4000};
    for (u32 length : lengths) {
        CAPTURE(length);
        std::string huge = tone;
        memcpy(&huge[comment + 7], &length, 4);
        reseal(&huge, second);
        OggStream stream;
        u64 at;
        REQUIRE(ogg_check_pages(bytes_of(huge), huge.size(), &stream, &at) == OGG_OK);
        CHECK(vorbis_check_headers(bytes_of(huge), huge.size(), &format) == VORBIS_BAD_HEADERS);
        VorbisSound sound;
        CHECK(vorbis_decode(bytes_of(huge), huge.size(), &stream, &sound, &format) == VORBIS_BAD_HEADERS);
        CHECK(sound.samples == nullptr);
    }
    // A comment count that cannot fit in what is left of the packet.
    std::string count = tone;
    u32 many = 0x40000000u;
    memcpy(&count[comment + 11 + vendor], &many, 4);
    reseal(&count, second);
    CHECK(vorbis_check_headers(bytes_of(count), count.size(), &format) == VORBIS_BAD_HEADERS);

    std::string mono = read_raw(fixture("mono.ogg"));
    CHECK(vorbis_check_headers(bytes_of(mono), mono.size(), &format) == VORBIS_WRONG_FORMAT);
    CHECK(format.channels == 1);
    CHECK(format.rate == 22050);
}

TEST_CASE("init_ogg_from_file_data makes a mixer sound, and says in one line why a file cannot be used") {
    open_test_mixer(1.0f);
    SoundHandle sound = init_ogg_from_file_data(S(fixture("tone.ogg")), 0.5f);
    REQUIRE(os_get_sound(sound));
    CHECK(os_get_sound(sound)->byte_length == 22050 * 4);
    CHECK(os_get_sound(sound)->gain == 0.5f);

    std::string dir = scratch_dir("ogg_load");
    std::string tone = read_raw(fixture("tone.ogg"));
    write_raw(dir + "short.ogg", tone.substr(0, tone.size() - 100));
    capture_stdout_begin();
    SoundHandle cut = init_ogg_from_file_data(S(dir + "short.ogg"), 1.0f);
    std::string said = capture_stdout_end();
    CHECK(cut == 0);
    CHECK(said == "Cannot load " + dir + "short.ogg: it is cut short inside a page (at byte " +
                      std::to_string(tone.rfind("OggS")) + ")\n");

    capture_stdout_begin();
    SoundHandle mono = init_ogg_from_file_data(S(fixture("mono.ogg")), 1.0f);
    said = capture_stdout_end();
    CHECK(mono == 0);
    CHECK(said.find("mono.ogg: it has 1 channel at 22050 Hz, and sounds are played as 2 channels at 44100 Hz\n") !=
          std::string::npos);

    capture_stdout_begin();
    CHECK(init_ogg_from_file_data(S(dir + "missing.ogg"), 1.0f) == 0);
    CHECK(capture_stdout_end().empty());

    // With the device closed no sound can be made, and nothing is said.
    close_test_mixer();
    capture_stdout_begin();
    CHECK(init_ogg_from_file_data(S(fixture("tone.ogg")), 1.0f) == 0);
    CHECK(capture_stdout_end().empty());
}
