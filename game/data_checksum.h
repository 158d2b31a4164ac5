// A checksum of the data files the game loads, so a recording is replayed
// only against the data it was made with.
#pragma once

#include "os/types.h"

// Over every file's name, length and bytes under dir (ending in "/"); a
// missing file counts as such, so it changes the result too.
u64 game_data_checksum(Str dir);
