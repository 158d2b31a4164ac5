// libFuzzer target for the Ogg Vorbis loader: each input is the whole file.
// Each whole page's checksum is written afresh first, so that mutated pages
// reach the header checks and the decoder instead of stopping at the page
// check; the checksum refusal itself is covered by the unit tests.
#include <stdlib.h>
#include <string.h>

#include "sound/mixer.h"
#include "sound/ogg.h"
#include "sound/ogg_pages.h"
#include "tools/fuzz/fuzz_file_input.h"

static void reseal_pages(u8 *bytes, size_t size) {
    size_t at = 0;
    while (size - at >= OGG_PAGE_HEADER_SIZE && memcmp(bytes + at, "OggS", 4) == 0) {
        u8 segments = bytes[at + 26];
        if (size - at - OGG_PAGE_HEADER_SIZE < segments) return;
        size_t page = OGG_PAGE_HEADER_SIZE + segments;
        for (u32 i = 0; i < segments; i++) page += bytes[at + OGG_PAGE_HEADER_SIZE + i];
        if (size - at < page) return;
        u32 crc = ogg_page_crc(bytes + at, page);
        memcpy(bytes + at + 22, &crc, 4);
        at += page;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (!audio_device.initialised) {
        if (!audio_create_tables()) abort();
        audio_device.initialised = true;
        audio_state.master_volume = 1.0f;
    }
    u8 *sealed = (u8 *)malloc(size ? size : 1);
    if (size) memcpy(sealed, data, size);
    reseal_pages(sealed, size);
    fuzz_input = sealed;
    fuzz_input_size = size;
    SoundHandle sound = init_ogg_from_file_data(STR("fuzz.ogg"), 1.0f);
    free(sealed);
    if (!sound) return 0;
    const Sound *s = os_get_sound(sound);
    if (!s || s->byte_length == 0 || s->byte_length % 4 != 0) abort();
    // Play what was decoded, so the samples are read back whole.
    os_play_sound(sound, 1.0f, 0.0f, 0);
    static i16 stretch[2 * 1024];
    audio_mix(stretch, sizeof stretch);
    os_destroy_sound(sound);
    return 0;
}
