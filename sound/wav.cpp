// The WAV loader: walks a RIFF WAVE file's chunks and hands the samples of a
// 16-bit stereo PCM file to the mixer.  No conversion of any kind is done; the
// file's sample rate is checked and otherwise ignored.
#include <string.h>

#include "sound/sounds.h"
#include "os/files.h"
#include "os/log.h"
#include "sound/wav.h"

#define WAV_FMT_PCM 1
#define WAV_FMT_IEEE_FLOAT 3
#define WAV_FMT_ALAW 6
#define WAV_FMT_MULAW 7
#define WAV_FMT_EXTENSIBLE 0xFFFE

// Every number in the file is little-endian, whatever the machine.
static u16 read_u16(const u8 *p) { return (u16)(p[0] | (p[1] << 8)); }

static u32 read_u32(const u8 *p) {
    return (u32)p[0] | ((u32)p[1] << 8) | ((u32)p[2] << 16) | ((u32)p[3] << 24);
}

// Chunk ids are four characters, compared as bytes.
static bool chunk_is(const u8 *chunk, const char *id) { return memcmp(chunk, id, 4) == 0; }

// Every failure frees the file buffer.
static SoundHandle refuse(FileData *file) {
    os_free_file_data(file);
    return 0;
}

SoundHandle init_wav_from_file_data(Str path, f32 gain) {
    // The files layer zero-fills a byte past the contents, but the walk does
    // not rely on it: every read is checked against the file's own size,
    // whatever sizes the file claims.
    FileData file = os_read_entire_file(path);
    if (!file.data) return 0;
    const u8 *bytes = file.data;
    if (file.size < 12 || !chunk_is(bytes, "RIFF") || !chunk_is(bytes + 8, "WAVE")) return refuse(&file);

    // The RIFF size counts "WAVE" and the chunks.  One that claims more than
    // the file holds is refused, so the walk below never leaves the file.
    i64 remaining = (i64)read_u32(bytes + 4) - 4;
    if (remaining <= 8 || (u64)remaining > file.size - 12) return refuse(&file);

    u16 channels = 0;
    u16 bits_per_sample = 0;
    i32 rate = 0;
    const u8 *data = nullptr;
    u32 data_size = 0;
    u64 at = 12;
    // remaining never exceeds the bytes from at to the end of the file, so
    // each chunk header read here lies inside it.
    while (remaining > 8) {
        const u8 *chunk = bytes + at;
        const u8 *body = chunk + 8;
        u32 size = read_u32(chunk + 4);
        if (size > file.size - at - 8) return refuse(&file);

        if (chunk_is(chunk, "RIFF")) {
            // A whole nested file: stepped over.
            LOG_TAG_AT(67);
            log_printf("ERROR? %i RIFF chunk in WAV data, this shouldn't be here..?\n", (i32)size);
        } else if (chunk_is(chunk, "fmt ")) {
            // 16 bytes plain, 18 with the extension size, 40 extensible.
            if (size != 16 && size != 18 && size != 40) return refuse(&file);
            u16 format = read_u16(body);
            // Only integer PCM is played; any other format is named in the
            // log so that a wrongly exported file is easy to spot.
            if (format != WAV_FMT_PCM) {
                const char *name = "???";
                switch (format) {
                case WAV_FMT_IEEE_FLOAT:
                    name = "WAV_FMT_IEEE_FLOAT";
                    break;
                case WAV_FMT_ALAW:
                    name = "WAV_FMT_ALAW";
                    break;
                case WAV_FMT_MULAW:
                    name = "WAV_FMT_MULAW";
                    break;
                case WAV_FMT_EXTENSIBLE:
                    name = "WAV_FMT_EXTENSIBLE";
                    break;
                default:
                    break;
                }
                log_printf("%s.\n", name);
                return refuse(&file);
            }
            // Later "fmt " chunks replace earlier ones.  The byte rate and block
            // alignment are not checked: channels and bits per sample decide, and
            // the rate only has to be positive.
            channels = read_u16(body + 2);
            rate = (i32)read_u32(body + 4);
            bits_per_sample = read_u16(body + 14);
        } else if (chunk_is(chunk, "data")) {
            // The samples are used in place and copied by the mixer.
            if (size == 0) {
                LOG_TAG_AT(105);
                log_printf("No sample data in WAV.\n");
                return refuse(&file);
            }
            // As with "fmt ", a later "data" chunk replaces an earlier one.
            data = body;
            data_size = size;
        } else if (chunk_is(chunk, "cue ")) {
            // Cue points.  This and the four ids below are metadata the mixer
            // has no use for: stepped over without a word.
        } else if (chunk_is(chunk, "fact")) {
            // The frame count that compressed formats carry; PCM needs none,
            // and its value is not checked against the data.
        } else if (chunk_is(chunk, "LIST")) {
            // Text metadata such as INFO.
        } else if (chunk_is(chunk, "bext")) {
            // Broadcast extension.
        } else if (chunk_is(chunk, "LGWV")) {
            // Written by some editors.
        } else {
            // Anything else is reported and stepped over: the walk goes on, as
            // a chunk this loader does not know may still be followed by the
            // samples.
            LOG_TAG_AT(128);
            log_printf("Unknown WAV chunk! %u (%.*s)\n", read_u32(chunk), 4, (const char *)chunk);
        }

        // Odd-sized chunks are followed by a pad byte.
        u64 step = 8 + (u64)size + (size & 1);
        remaining -= (i64)step;
        at += step;
    }

    if (!data || channels != 2 || bits_per_sample != 16 || data_size % 4 != 0 || rate <= 0) return refuse(&file);
    SoundHandle sound = os_create_sound(data_size, data, gain);
    os_free_file_data(&file);
    return sound;
}
