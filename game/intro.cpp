#include "game/intro.h"

#include "game/draw.h"
#include "game/frame_clock.h"
#include "game/game_vars.h"
#include "game/keys.h"
#include "game/particles.h"
#include "render/sprite_rows.h"
#include "sound/sound_bank.h"

#define MOVE_ROTATE_FADE (PARTICLE_MOVE | PARTICLE_ROTATE | PARTICLE_COLOR | PARTICLE_CENTERED)

static Particle intro_particle(u8 flags, SpriteRow row, Vec2f position) {
    Particle p = {};
    p.flags = flags;
    p.sprite = &sprite_table[row];
    p.position = position;
    p.scale = Vec2f{1, 1};
    p.color = Color4f{1, 1, 1, 1};
    return p;
}

// Steps 2 to 4: a picture that moves and turns, opaque for a second (alpha 2
// falling by 0.001 a millisecond), then fading out over the next.
struct FadingPicture {
    SpriteRow row;
    Vec2f position;
    f32 rotation;
    Vec2f velocity;
    f32 angular_velocity;
};

static const FadingPicture FADING_PICTURES[3] = {
    {SPRITE_OPENING_2, {900, 180}, 0.0f, {-0.1f, 0}, 0.005f},
    {SPRITE_OPENING_3, {350, 450}, 0.0f, {0.05f, 0}, -0.005f},
    {SPRITE_OPENING_4, {900, 450}, 15.0f, {0, -0.075f}, -0.005f},
};

static void add_fading_picture(const FadingPicture *f) {
    Particle p = intro_particle(MOVE_ROTATE_FADE, f->row, f->position);
    p.rotation = f->rotation;
    p.color.a = 2.0f;
    p.velocity = f->velocity;
    p.angular_velocity = f->angular_velocity;
    p.color_velocity.a = -0.001f;
    p.lifetime_ms = 2000;
    add_particle(&p);
}

// Runs due steps; false once step 7 has left the sequence.
static bool run_intro_steps(void) {
    while (game_vars.intro_timer_ms <= 0) {
        Particle p;
        switch (game_vars.intro_step) {
        case 0:
            play_music(sound_bank.music[0]);
            p = intro_particle(PARTICLE_MOVE | PARTICLE_IMMORTAL | PARTICLE_CENTERED, SPRITE_OPENING_DIVER,
                               Vec2f{220, 480});
            p.velocity = Vec2f{0.021428572f, 0};
            add_particle(&p);
            game_vars.intro_timer_ms = 2000;
            game_vars.intro_step = 1;
            return true;
        case 1:
            p = intro_particle(PARTICLE_ROTATE | PARTICLE_COLOR | PARTICLE_SCALE | PARTICLE_CENTERED, SPRITE_OPENING_1,
                               Vec2f{700, 400});
            p.scale = Vec2f{1.1f, 1.1f};
            p.rotation = 5.0f;
            p.scale_velocity = Vec2f{-0.00006666667f, -0.00006666667f};
            p.angular_velocity = -0.0033333334f;
            p.color_velocity.a = -0.00033333333f;
            p.lifetime_ms = 3000;
            add_particle(&p);
            game_vars.intro_timer_ms += 3000;
            break;
        case 2:
        case 3:
        case 4:
            add_fading_picture(&FADING_PICTURES[game_vars.intro_step - 2]);
            game_vars.intro_timer_ms += 2000;
            break;
        case 5:
            p = intro_particle(MOVE_ROTATE_FADE | PARTICLE_SCALE, SPRITE_OPENING_5, Vec2f{650, 400});
            p.color.a = 1.2f;
            p.scale_velocity = Vec2f{0.000075f, 0.000075f};
            p.angular_velocity = 0.0075f;
            p.color_velocity.a = -0.0003f;
            p.lifetime_ms = 4000;
            add_particle(&p);
            game_vars.intro_timer_ms += 4000;
            break;
        case 6:
            for (u64 i = 0; i < particle_list.count; i++) {
                Particle *q = (Particle *)particle_list.items + i;
                if (q->sprite != &sprite_table[SPRITE_OPENING_DIVER]) continue;
                q->sprite = &sprite_table[SPRITE_OPENING_DIVER_STILL];
                q->velocity = Vec2f{0, 0};
            }
            game_vars.intro_timer_ms += 2000;
            break;
        default:
            clear_particles();
            game_vars.game_state = GAME_STATE_PLAY;
            return false;
        }
        game_vars.intro_step++;
    }
    return true;
}

bool run_intro_frame(void) {
    if (key_pressed(KEY_X)) {
        key_consume_press(KEY_X);
        clear_particles();
        game_vars.game_state = GAME_STATE_PLAY;
        return true;
    }
    game_vars.intro_timer_ms -= frame_clock.delta_ms;
    if (!run_intro_steps()) return true;
    draw_frame_begin();
    draw_full_window(&sprite_table[SPRITE_BACKGROUND]);
    update_particles();
    draw_frame_end();
    return false;
}
