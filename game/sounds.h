// The game's music changes and effects.
#pragma once

#include "os/types.h"

enum GameEffect { EFFECT_EXPLOSION, EFFECT_PICKUP, EFFECT_LAUGH };

// Replaces the music voice with the track, looping.
void start_music_track(i32 track);
bool is_music_track_playing(i32 track);
void play_effect(GameEffect effect);
