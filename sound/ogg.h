// Ogg Vorbis files as mixer sounds, beside the WAV loader.
#pragma once

#include "sound/sounds.h"

// Reads an Ogg Vorbis file of 44100 Hz stereo and makes a mixer sound of its
// decoded samples with the given gain.  0 on any failure, with one log line
// saying why for a file that is there but cannot be used; the file buffer is
// always freed before returning.  With the output device closed nothing is
// decoded: no sound could be made of it.
SoundHandle init_ogg_from_file_data(Str path, f32 gain);
