// libFuzzer target for the WAV loader: each input is the whole file.  The
// file is handed over in an allocation of exactly its size, so that reading a
// single byte past it trips AddressSanitizer.
#include <stdlib.h>

#include "sound/mixer.h"
#include "sound/wav.h"
#include "tools/fuzz/fuzz_file_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (!audio_device.initialised) {
        if (!audio_create_tables()) abort();
        audio_device.initialised = true;
        audio_state.master_volume = 1.0f;
    }
    fuzz_input = data;
    fuzz_input_size = size;
    SoundHandle sound = init_wav_from_file_data(STR("fuzz.wav"), 1.0f);
    if (!sound) return 0;
    const Sound *s = os_get_sound(sound);
    if (!s || s->byte_length == 0 || s->byte_length % 4 != 0 || s->byte_length > size) abort();
    // Play what was loaded, so the copied samples are read back whole.
    os_play_sound(sound, 1.0f, 0.0f, 0);
    static i16 stretch[2 * 1024];
    audio_mix(stretch, sizeof stretch);
    os_destroy_sound(sound);
    return 0;
}
