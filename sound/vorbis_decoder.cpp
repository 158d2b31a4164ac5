// Vorbis decoding through stb_vorbis, compiled in this unit alone.  Its
// headers are checked here first: stb_vorbis trusts the lengths in the
// comment header and writes before its buffer on a huge one.
#include "sound/vorbis.h"

#include <string.h>

#include "os/memory.h"

#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-value"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wshadow"
#endif
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wunknown-warning-option"
#endif
#include <stb/stb_vorbis.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// Everything the decoder allocates comes from one block of this size, so a
// file whose setup asks for huge tables is refused instead of obeyed.  The
// game's tracks need about a fifth of it.
#define VORBIS_DECODER_MEMORY (1u << 20)
#define VORBIS_ID_HEADER_SIZE 30
#define VORBIS_PACKET_ID 1
#define VORBIS_PACKET_COMMENT 3
#define VORBIS_PACKET_SETUP 5

static u32 read_u32(const u8 *p) {
    return (u32)p[0] | ((u32)p[1] << 8) | ((u32)p[2] << 16) | ((u32)p[3] << 24);
}

static bool is_header(const u8 *packet, u64 length, u8 type) {
    return length >= 7 && packet[0] == type && memcmp(packet + 1, "vorbis", 6) == 0;
}

// Every length must fit in what is left of the packet, and the framing bit
// must follow the last comment.
static bool comment_header_fits(const u8 *packet, u64 length) {
    u64 at = 7;
    if (length - at < 4) return false;
    u64 vendor = read_u32(packet + at);
    at += 4;
    if (length - at < vendor) return false;
    at += vendor;
    if (length - at < 4) return false;
    u64 count = read_u32(packet + at);
    at += 4;
    if (count > (length - at) / 4) return false;
    for (u64 i = 0; i < count; i++) {
        if (length - at < 4) return false;
        u64 comment = read_u32(packet + at);
        at += 4;
        if (length - at < comment) return false;
        at += comment;
    }
    return length - at >= 1 && (packet[at] & 1);
}

u8 vorbis_check_headers(const u8 *bytes, u64 size, VorbisFormat *format) {
    *format = VorbisFormat{};
    // The identification header is alone on the first page.
    u8 id[VORBIS_ID_HEADER_SIZE];
    u64 length = 0;
    if (size < OGG_PAGE_HEADER_SIZE + 1 || bytes[26] != 1 || bytes[27] != VORBIS_ID_HEADER_SIZE) return VORBIS_BAD_HEADERS;
    if (!ogg_read_packet(bytes, size, 0, id, sizeof id, &length) || length != VORBIS_ID_HEADER_SIZE ||
        !is_header(id, length, VORBIS_PACKET_ID) || read_u32(id + 7) != 0)
        return VORBIS_BAD_HEADERS;
    u32 small_block = id[28] & 15, large_block = id[28] >> 4;
    if (small_block < 6 || large_block > 13 || small_block > large_block || !(id[29] & 1)) return VORBIS_BAD_HEADERS;
    format->channels = id[11];
    format->rate = read_u32(id + 12);

    if (!ogg_read_packet(bytes, size, 1, nullptr, 0, &length)) return VORBIS_BAD_HEADERS;
    u8 *comment = (u8 *)os_alloc(length ? length : 1);
    if (!comment) return VORBIS_NO_MEMORY;
    ogg_read_packet(bytes, size, 1, comment, length, &length);
    bool fits = is_header(comment, length, VORBIS_PACKET_COMMENT) && comment_header_fits(comment, length);
    os_free(comment);
    if (!fits) return VORBIS_BAD_HEADERS;

    u8 setup[7];
    if (!ogg_read_packet(bytes, size, 2, setup, sizeof setup, &length) || !is_header(setup, length, VORBIS_PACKET_SETUP))
        return VORBIS_BAD_HEADERS;
    if (format->channels != VORBIS_MIXER_CHANNELS || format->rate != VORBIS_MIXER_RATE) return VORBIS_WRONG_FORMAT;
    return VORBIS_OK;
}

static u8 decode_frames(stb_vorbis *decoder, u64 total, VorbisSound *out) {
    // Grown as the audio comes, so a last page that claims hours of sound
    // costs memory only for what the stream really holds.
    u64 capacity = total < 65536 ? total : 65536;
    i16 *samples = (i16 *)os_alloc(capacity * 4);
    if (!samples) return VORBIS_NO_MEMORY;
    u64 frames = 0;
    while (frames < total) {
        if (frames == capacity) {
            u64 grown = capacity * 2 < total ? capacity * 2 : total;
            i16 *more = (i16 *)os_realloc(samples, grown * 4);
            if (!more) {
                os_free(samples);
                return VORBIS_NO_MEMORY;
            }
            samples = more;
            capacity = grown;
        }
        u64 room = capacity - frames;
        if (room > (1u << 20)) room = 1u << 20;
        int n = stb_vorbis_get_samples_short_interleaved(decoder, VORBIS_MIXER_CHANNELS, samples + frames * 2,
                                                         (int)(room * 2));
        if (n <= 0) break;
        frames += (u64)n;
    }
    if (frames != total) {
        os_free(samples);
        return VORBIS_BAD_AUDIO;
    }
    out->samples = samples;
    out->frame_count = (u32)frames;
    return VORBIS_OK;
}

u8 vorbis_decode(const u8 *bytes, u64 size, const OggStream *stream, VorbisSound *out, VorbisFormat *format) {
    *out = VorbisSound{};
    u8 error = vorbis_check_headers(bytes, size, format);
    if (error) return error;
    // A mixer sound counts its bytes in 32 bits.
    if (stream->last_granule <= 0) return VORBIS_BAD_AUDIO;
    if ((u64)stream->last_granule > 0xFFFFFFFFull / 4 || size > 0x7FFFFFFF) return VORBIS_TOO_LONG;

    stb_vorbis_alloc memory = {(char *)os_alloc(VORBIS_DECODER_MEMORY), (int)VORBIS_DECODER_MEMORY};
    if (!memory.alloc_buffer) return VORBIS_NO_MEMORY;
    int stb_error = 0;
    stb_vorbis *decoder = stb_vorbis_open_memory(bytes, (int)size, &stb_error, &memory);
    if (!decoder) error = stb_error == VORBIS_outofmem ? VORBIS_NO_MEMORY : VORBIS_BAD_AUDIO;
    else error = decode_frames(decoder, (u64)stream->last_granule, out);
    if (decoder) stb_vorbis_close(decoder);
    os_free(memory.alloc_buffer);
    return error;
}

const char *vorbis_error_text(u8 error) {
    switch (error) {
    case VORBIS_OK: return "it is Vorbis audio the mixer plays";
    case VORBIS_BAD_HEADERS: return "its Vorbis headers are missing or damaged";
    case VORBIS_WRONG_FORMAT: return "it is not stereo at 44100 frames per second";
    case VORBIS_BAD_AUDIO: return "its Vorbis audio is damaged or ends early";
    case VORBIS_TOO_LONG: return "it is longer than a sound can be";
    case VORBIS_NO_MEMORY: return "there is not enough memory to decode it";
    default: return "it cannot be decoded";
    }
}
