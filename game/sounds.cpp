#include "game/sounds.h"

#include "game/external.h"

void start_music_track(i32 track) { play_music(music_tracks[track]); }

bool is_music_track_playing(i32 track) { return os_is_sound_playing(music_tracks[track]); }

void play_effect(GameEffect effect) {
    SoundHandle sound = effect == EFFECT_EXPLOSION ? sound_explosion
                        : effect == EFFECT_PICKUP  ? sound_pickup
                                                   : sound_laugh;
    os_play_sound(sound, 1.0f, 0.0f, 0);
}
