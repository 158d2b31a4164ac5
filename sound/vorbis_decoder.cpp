// Vorbis decoding through stb_vorbis, compiled in this unit alone, of
// streams whose pages and headers were checked first.
#include "sound/vorbis.h"

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
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#pragma GCC diagnostic ignored "-Wshadow"
#endif
#include <stb/stb_vorbis.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// Everything the decoder allocates comes from one block of this size, so a
// file whose setup asks for huge tables is refused instead of obeyed.  The
// game's tracks need about a fifth of it.
#define VORBIS_DECODER_MEMORY (1u << 20)

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
