#include "render/sprite_frames.h"

Sprite sprite_sheet_placement;
Sprite background_sheet_placement;

SpriteRect sprite_frame_rect(const Sprite *sprite, u64 t) {
    SpriteRect r = {sprite->x, sprite->y, sprite->w, sprite->h};
    // A strip without a frame time cannot advance: it stays on its first frame.
    if (sprite->frame_count > 1 && sprite->frame_ms > 0) {
        u64 frame = (t / sprite->frame_ms) % sprite->frame_count;
        r.x = (u16)(sprite->x + frame * sprite->w);
    }
    return r;
}

void fix_up_sprite_table(void) {
    for (u32 row = 0; row < SPRITE_TABLE_ROWS; row++) {
        const Sprite *place = row < SPRITE_FIRST_BACKGROUND_ROW ? &sprite_sheet_placement : &background_sheet_placement;
        Sprite *s = &sprite_table[row];
        s->x = (u16)(s->x + place->x);
        s->y = (u16)(s->y + place->y);
        s->layer = place->layer;
    }
}
