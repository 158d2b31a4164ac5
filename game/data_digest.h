// The digest of the game's data files: each file's name, length and bytes in
// a fixed order, so that a recording is replayed only against the data it
// was made with.  Memory in, number out: the build's own tools use it too.
#pragma once

#include "os/types.h"

#define GAME_DATA_FILE_COUNT 17
// What start-up loads from beside the executable.
extern const char *const GAME_DATA_FILES[GAME_DATA_FILE_COUNT];

u64 data_digest_start(void);
// Adds one file; bytes null for a file that is not there, which differs from
// an empty one.
u64 data_digest_file(u64 digest, const char *name, const u8 *bytes, u64 size);
