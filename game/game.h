// One frame of the game: title, opening sequence or play, simulated and drawn.
#pragma once

void game_frame(void);
