// The three Vorbis header packets, checked before the decoder sees them: it
// trusts the lengths in the comment header, and a 7 KB file claiming a vendor
// name of 1.8 GB made it allocate that much and read for 40 s.
#include "sound/vorbis.h"

#include <string.h>

#include "os/memory.h"

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
    if (size < OGG_PAGE_HEADER_SIZE + 1 || bytes[26] != 1 || bytes[27] != VORBIS_ID_HEADER_SIZE)
        return VORBIS_BAD_HEADERS;
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
    bool setup_read = ogg_read_packet(bytes, size, 2, setup, sizeof setup, &length);
    if (!setup_read || !is_header(setup, length, VORBIS_PACKET_SETUP)) return VORBIS_BAD_HEADERS;
    if (format->channels != VORBIS_MIXER_CHANNELS || format->rate != VORBIS_MIXER_RATE) return VORBIS_WRONG_FORMAT;
    return VORBIS_OK;
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
