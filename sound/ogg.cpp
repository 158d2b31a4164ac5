// The Ogg Vorbis loader: the pages are checked, then the headers, and only
// then is the audio decoded and handed to the mixer.
#include "sound/ogg.h"

#include "os/audio.h"
#include "os/files.h"
#include "os/log.h"
#include "os/memory.h"
#include "sound/vorbis.h"

SoundHandle init_ogg_from_file_data(Str path, f32 gain) {
    FileData file = os_read_entire_file(path);
    if (!file.data) return 0;
    OggStream stream;
    u64 at = 0;
    u8 error = ogg_check_pages(file.data, file.size, &stream, &at);
    if (error) {
        log_printf("Cannot load %.*s: %s (at byte %llu)\n", (int)path.len, path.data, ogg_error_text(error),
                   (unsigned long long)at);
        os_free_file_data(&file);
        return 0;
    }
    VorbisFormat format;
    u8 decoded = vorbis_check_headers(file.data, file.size, &format);
    VorbisSound sound = {};
    // Without a device no sound can be made: the audio is not decoded for nothing.
    if (!decoded && audio_device.initialised) decoded = vorbis_decode(file.data, file.size, &stream, &sound, &format);
    os_free_file_data(&file);
    if (decoded == VORBIS_WRONG_FORMAT) {
        log_printf("Cannot load %.*s: it has %u channel%s at %u Hz, and sounds are played as 2 channels at %u Hz\n",
                   (int)path.len, path.data, format.channels, format.channels == 1 ? "" : "s", format.rate,
                   VORBIS_MIXER_RATE);
        return 0;
    }
    if (decoded) {
        log_printf("Cannot load %.*s: %s\n", (int)path.len, path.data, vorbis_error_text(decoded));
        return 0;
    }
    if (!sound.samples) return 0;
    SoundHandle handle = os_create_sound(sound.frame_count * 4, sound.samples, gain);
    os_free(sound.samples);
    return handle;
}
