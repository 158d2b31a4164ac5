#include "game/game.h"

#include "game/draw.h"
#include "game/game_vars.h"
#include "game/intro.h"
#include "game/keys.h"
#include "game/pause.h"
#include "game/play.h"
#include "game/volume_keys.h"
#include "os/memory.h"
#include "render/font.h"

// True when X moved the game on to the opening sequence.
static bool run_title_frame(void) {
    if (key_pressed(KEY_X)) {
        key_consume_press(KEY_X);
        game_vars.game_state = GAME_STATE_INTRO;
        return true;
    }
    draw_frame_begin();
    draw_text(100, 100, STR("Press X"));
    draw_frame_end();
    return false;
}

void game_frame(void) {
    volume_keys_frame();
    if (pause_frame()) return;
    for (;;) {
        arena_reset(&temp_arena);
        bool restart = false;
        switch (game_vars.game_state) {
        case GAME_STATE_TITLE: restart = run_title_frame(); break;
        case GAME_STATE_INTRO: restart = run_intro_frame(); break;
        default: run_play_frame(); break;
        }
        if (!restart) return;
    }
}
