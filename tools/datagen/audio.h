// The nine sound files: six looping music tracks and three effects.
#pragma once

bool write_sounds(const char *audio_dir);
