#include "game/game_vars.h"

GameVars game_vars = {GAME_STATE_TITLE, 0, 0, PLAY_PHASE_SETUP, 0.0f, 0.0f, 30.0f, 2, 1000,
                      RANDOM_START_SEED, 0, 0, 0};

void game_vars_reset(void) {
    game_vars = GameVars{GAME_STATE_TITLE, 0, 0, PLAY_PHASE_SETUP, 0.0f, 0.0f, 30.0f, 2, 1000,
                         RANDOM_START_SEED, 0, 0, 0};
}
