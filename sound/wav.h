// WAV files as mixer sounds.
#pragma once

#include "sound/sounds.h"

// Reads a RIFF WAVE file of 16-bit stereo integer PCM and makes a mixer sound
// of its samples with the given gain.  0 on any failure; the file buffer is
// always freed before returning.
SoundHandle init_wav_from_file_data(Str path, f32 gain);
