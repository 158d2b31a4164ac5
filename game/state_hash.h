// One number for the whole game state: the variables, the clock the game
// reads, the entities and the particles.  Equal states give equal hashes on
// every build; sprites count by their row, not their address.
#pragma once

#include "os/types.h"

u64 game_state_hash(void);
