// Ogg Vorbis audio decoded whole into the mixer's format: 44100 frames per
// second, 16-bit, stereo.  Other rates and channel counts are refused, as no
// conversion takes place.
#pragma once

#include "sound/ogg_pages.h"

enum : u8 {
    VORBIS_OK = 0,
    VORBIS_BAD_HEADERS = 1,   // the three header packets are not Vorbis headers, or claim more than they hold
    VORBIS_WRONG_FORMAT = 2,  // not stereo at 44100 frames per second
    VORBIS_BAD_AUDIO = 3,     // the decoder gave up, or the audio ends before its pages say
    VORBIS_TOO_LONG = 4,      // longer than a mixer sound can be
    VORBIS_NO_MEMORY = 5,
};

#define VORBIS_MIXER_RATE 44100
#define VORBIS_MIXER_CHANNELS 2

struct VorbisFormat {
    u32 channels;
    u32 rate;
};

struct VorbisSound {
    i16 *samples;  // interleaved left/right, from os_alloc: os_free it
    u32 frame_count;
};

// Checks the identification, comment and setup headers of a stream that
// ogg_check_pages accepted; *format is filled once the first one is read.
u8 vorbis_check_headers(const u8 *bytes, u64 size, VorbisFormat *format);
// Checks the headers, then decodes every frame the stream's last page counts.
u8 vorbis_decode(const u8 *bytes, u64 size, const OggStream *stream, VorbisSound *out, VorbisFormat *format);
// A sentence for each result code, without a full stop.
const char *vorbis_error_text(u8 error);
