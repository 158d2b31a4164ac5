#include "game/game.h"

Camera camera = {{0.0f, 0.0f}, 0.0f, 1.0f};

// The game's states are not written yet: a frame does nothing.
void game_frame(void) {}
