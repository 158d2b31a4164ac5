// The checksum of the data files the game loads, so a recording is replayed
// only against the data it was made with.
#pragma once

#include "os/types.h"

// Over every file's name, length and bytes under dir (ending in "/"); a
// missing file counts as such, so it changes the result too.  Where a WAV
// file is absent, the Ogg Vorbis file the game would load instead counts.
u64 game_data_checksum(Str dir);

enum : u8 {
    GAME_DATA_OWN = 0,            // no manifest: the files are what they are
    GAME_DATA_STANDS_IN = 1,      // a manifest vouches for the files: they stand for the originals
    GAME_DATA_MANIFEST_WRONG = 2, // a manifest that cannot be read, or describes other files
};

struct GameDataCheck {
    u64 checksum;  // what a recording made here carries, and must carry to replay here
    u64 own;       // game_data_checksum of the files themselves
    u8 kind;
};

// Data made from the generated files in another form carries a manifest
// (DATA_MANIFEST_FILE) with the checksum of the files it was made from: while
// its own files are those the manifest names, that checksum is the data's.
GameDataCheck check_game_data(Str dir);
