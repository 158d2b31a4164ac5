#include "game/entities.h"

#include "game/bursts.h"
#include "game/frame_clock.h"
#include "game/game_vars.h"
#include "game/keys.h"
#include "game/portable_sine.h"
#include "game/random.h"
#include "render/sprite_rows.h"
#include "sound/sound_bank.h"
#include "os/log.h"

#include <string.h>

#define PI_F64 3.14159265358979323846

DynArray entity_list;

static const u8 TINT_WHITE[4] = {255, 255, 255, 255};
static const u8 BOX_FRAME[4] = {255, 0, 0, 255};
static const u8 BOX_INSIDE[4] = {255, 255, 255, 255};

// Sprite rows of kinds 3 to 13; the divers' rows are set where they are made.
static const SpriteRow KIND_SPRITE_ROW[ENTITY_LAST_HAZARD + 1] = {
    SPRITE_URCHIN,      SPRITE_URCHIN,     SPRITE_URCHIN,  // no spawned kinds
    SPRITE_JELLYFISH,   SPRITE_STARFISH,   SPRITE_PEARL_SHELL, SPRITE_AIR_BUBBLES, SPRITE_SEAHORSE, SPRITE_BOTTLE,
    SPRITE_CHAIN,       SPRITE_PIRANHA,    SPRITE_FISHHOOK,    SPRITE_POISON_CAN,  SPRITE_URCHIN,
};

// By hope stage, from the abyss up.
static const SpriteRow STAGE_DIVER_ROW[5] = {SPRITE_DIVER_ABYSS, SPRITE_DIVER_GLOOMY, SPRITE_DIVER, SPRITE_DIVER_HOPEFUL,
                                             SPRITE_DIVER_JOYFUL};

const Sprite *diver_sprite_for_stage(i32 stage) { return &sprite_table[STAGE_DIVER_ROW[stage]]; }

static Entity *entity_at(u64 index) { return (Entity *)entity_list.items + index; }

static void remove_entity(u64 index) {
    Entity *items = (Entity *)entity_list.items;
    memmove(items + index, items + index + 1, (entity_list.count - index - 1) * sizeof(Entity));
    entity_list.count--;
}

void create_entity_list(void) {
    entity_list = dynarray_create(sizeof(Entity), 32);
    Entity diver = {};
    diver.kind = ENTITY_DIVER_WAITING;
    diver.sprite = &sprite_table[SPRITE_DIVER_WAITING];
    diver.position = Vec2f{620, 220};
    dynarray_push(&entity_list, sizeof(Entity), &diver);
}

void place_at_bottom(Entity *entity) {
    f64 w = (f64)entity->sprite->w;
    f64 view_w = (f64)view_width();
    f32 r = random_unit();
    f64 x = (f64)((f32)view_width() * r);
    entity->position.y = (f32)((f64)entity->sprite->h * 0.5 + (f64)view_height());
    if (w * 0.5 > x) x = w * 0.5;
    if (x > view_w - w * 0.5) x = view_w - w * 0.5;
    entity->position.x = (f32)x;
}

// (size - cut) / 2 per axis, the integers made float and halved.
static Vec2f box_inside(const Sprite *sprite, i32 cut_w) {
    return Vec2f{(f32)((i32)sprite->w - cut_w) * 0.5f, (f32)((i32)sprite->h - 20) * 0.5f};
}

void spawn_entity(u8 kind) {
    if (kind > 14 || kind == ENTITY_DIVER || kind == ENTITY_DIVER_WAITING) {
        // Only play makes divers; other kinds do not exist.
        LOG_TAG_AT(75);
        log_printf("Oops2 %i\n", (int)kind);
        os_halt();
        return;
    }
    if (kind == 0 || kind == 14) {
        LOG_TAG_AT(77);
        log_printf("Oops!\n");
        os_halt();
        return;
    }
    Entity e = {};
    e.kind = kind;
    e.sprite = &sprite_table[KIND_SPRITE_ROW[kind]];
    switch (kind) {
    case ENTITY_JELLYFISH:
        random_unit();  // drawn and not used
        e.velocity.y = random_spread(0.1, -1.0);
        place_at_bottom(&e);
        e.half_size = box_inside(e.sprite, 30);
        break;
    case ENTITY_BOTTLE:
    case ENTITY_CHAIN:
        e.velocity.y = random_spread(0.05, -0.5);
        place_at_bottom(&e);
        e.half_size = box_inside(e.sprite, 20);
        break;
    case ENTITY_PIRANHA: {
        e.flags = ENTITY_HORIZONTAL;
        e.velocity.y = random_spread(0.2, 0.0);
        e.velocity.x = random_spread(0.2, -1.0);
        f32 r = random_unit();
        e.position = Vec2f{(f32)((f64)view_width() + (f64)e.sprite->w * 0.5), (f32)view_height() * r};
        e.half_size = box_inside(e.sprite, 30);
        break;
    }
    case ENTITY_FISHHOOK:
        e.velocity.y = random_spread(0.2, -1.0);
        e.velocity.x = 2.0f * random_unit() - 1.0f;
        place_at_bottom(&e);
        e.half_size = box_inside(e.sprite, 30);
        break;
    default:  // starfish, pearl shell, air bubbles, seahorse, poison can, urchin
        e.velocity.y = random_spread(0.05, -0.5);
        e.velocity.x = random_spread(0.5, 0.0);
        place_at_bottom(&e);
        e.half_size = box_inside(e.sprite, 20);
        break;
    }
    dynarray_push(&entity_list, sizeof(Entity), &e);
}

static f32 clamp_unit(f32 v) { return v < -1.0f ? -1.0f : v > 1.0f ? 1.0f : v; }

static void damp(Entity *e) {
    e->velocity.x = (f32)((f64)e->velocity.x * 0.99);
    e->velocity.y = (f32)((f64)e->velocity.y * 0.99);
}

static f32 steer(f32 v, i32 delta_ms, f64 rate) { return (f32)((f64)v + (f64)delta_ms * rate); }

static void drop_trail(const Entity *diver, i32 delta_ms) {
    i32 stage = game_vars.hope_stage;
    if (stage != 1 && stage != 2) return;
    game_vars.trail_timer_ms -= delta_ms;
    if (game_vars.trail_timer_ms >= 0) return;
    game_vars.trail_timer_ms += 250;
    f32 dx = game_vars.trail_side == 0 ? 7.0f : -7.0f;
    add_trail_particle(Vec2f{diver->position.x + dx, diver->position.y + 50.0f}, game_vars.trail_side, stage);
    game_vars.trail_side ^= 1;
}

static bool boxes_touch(const Entity *e, const Entity *o) {
    if (o->position.x - o->half_size.x > e->half_size.x + e->position.x) return false;
    if (o->position.y - o->half_size.y > e->half_size.y + e->position.y) return false;
    if (e->position.x - e->half_size.x > o->half_size.x + o->position.x) return false;
    if (e->position.y - e->half_size.y > o->half_size.y + o->position.y) return false;
    return true;
}

static void collide_diver(u64 diver_index) {
    const Entity *e = entity_at(diver_index);
    for (u64 j = 0; j < entity_list.count; j++) {
        if (j == diver_index) continue;
        Entity *o = entity_at(j);
        if ((o->flags & ENTITY_DEAD) || !boxes_touch(e, o)) continue;
        if (o->kind >= ENTITY_FIRST_PICKUP && o->kind <= ENTITY_LAST_PICKUP) {
            add_pickup_sparks(o->position);
            play_pickup_effect();
            game_vars.hope = game_vars.hope + 5.0f;
            o->flags |= ENTITY_DEAD;
        } else if (o->kind >= ENTITY_FIRST_HAZARD && o->kind <= ENTITY_LAST_HAZARD) {
            if (game_vars.hope_stage == 0) {
                add_crash_sparks(o->position);
                add_crash_flash(o->position);
            } else {
                add_hazard_sparks(o->position);
            }
            play_hazard_effect(game_vars.hope_stage);
            game_vars.hope = game_vars.hope - 5.0f;
            o->flags |= ENTITY_DEAD;
        }
    }
}

static f32 degrees_to_radians(f32 deg) { return (f32)((f64)deg * PI_F64 / 180.0); }

static void draw_entity(const Entity *e, u64 total_ms) {
    if (game_vars.show_collision_boxes) {
        Vec2f size = {e->half_size.x * 2.0f, e->half_size.y * 2.0f};
        draw_box(e->position, size, BOX_FRAME);
        draw_box(e->position, Vec2f{size.x - 6.0f, size.y - 6.0f}, BOX_INSIDE);
    }
    f32 rotation = 0.0f;
    switch (e->kind) {
    case ENTITY_DIVER: rotation = degrees_to_radians(6.0f * e->velocity.x); break;
    case ENTITY_STARFISH:
    case ENTITY_POISON_CAN: {
        f32 s = portable_sinf((f32)((f64)total_ms * 0.003));
        f32 deg = (f32)(((f64)s + 1.0) * 0.5 * 20.0 - 10.0);
        rotation = degrees_to_radians(deg);
        break;
    }
    case ENTITY_FISHHOOK: rotation = (f32)((f64)total_ms * 0.01); break;
    default: break;
    }
    draw_sprite(e->sprite, total_ms, e->position, Vec2f{(f32)e->sprite->w, (f32)e->sprite->h}, Vec2f{0.5f, 0.5f},
                rotation, TINT_WHITE);
    if (e->kind == ENTITY_DIVER && game_vars.hope_stage == 0) {
        // Despair grows below the diver the lower hope sinks.
        const Sprite *despair = &sprite_table[SPRITE_DESPAIR];
        f32 k = (f32)(((f64)game_vars.hope + 100.0) * -0.02 + 1.0);
        draw_sprite(despair, total_ms, Vec2f{e->position.x, e->position.y + 20.0f},
                    Vec2f{(f32)despair->w * k, (f32)despair->h * k}, Vec2f{0.5f, 0.7f}, 0.0f, TINT_WHITE);
    }
}

void do_entities(void) {
    i32 delta_ms = frame_clock.delta_ms;
    u64 total_ms = frame_clock.total_ms;
    f32 view_w = (f32)view_width();
    f32 view_h = (f32)view_height();
    for (u64 i = 0; i < entity_list.count;) {
        Entity *e = entity_at(i);
        if (e->flags & ENTITY_DEAD) {
            remove_entity(i);
            continue;
        }
        switch (e->kind) {
        case ENTITY_DIVER:
            damp(e);
            if (key_held(KEY_A)) e->velocity.x = steer(e->velocity.x, delta_ms, -0.005);
            if (key_held(KEY_D)) e->velocity.x = steer(e->velocity.x, delta_ms, 0.005);
            if (key_held(KEY_W)) e->velocity.y = steer(e->velocity.y, delta_ms, -0.002);
            if (key_held(KEY_S)) e->velocity.y = steer(e->velocity.y, delta_ms, 0.002);
            e->velocity.x = clamp_unit(e->velocity.x);
            e->velocity.y = clamp_unit(e->velocity.y);
            drop_trail(e, delta_ms);
            collide_diver(i);
            break;
        case ENTITY_DIVER_WAITING:
            damp(e);
            if (key_held(KEY_A)) e->velocity.x = steer(e->velocity.x, delta_ms, -0.002);
            if (key_held(KEY_D)) e->velocity.x = steer(e->velocity.x, delta_ms, 0.002);
            e->velocity.x = clamp_unit(e->velocity.x);
            e->velocity.y = clamp_unit(e->velocity.y);
            break;
        case ENTITY_JELLYFISH:
            if (e->position.x <= 0.0f) {
                e->velocity.x = 1.0f;
            } else {
                e->velocity.x = portable_sinf((f32)((f64)total_ms * 0.002));
            }
            if (e->position.x >= view_w) e->velocity.x = -1.0f;
            break;
        default:
            // After the halt (when it returns) the entity goes on as a plain object.
            if (e->kind < ENTITY_FIRST_PICKUP || e->kind > ENTITY_LAST_HAZARD) {
                LOG_TAG_AT(148);
                log_printf("Oops!\n");
                os_halt();
            }
            break;
        }
        e->position.x = e->position.x + e->velocity.x;
        e->position.y = e->position.y + e->velocity.y;
        if (!(e->flags & ENTITY_HORIZONTAL)) {
            if (e->position.x < 0.0f) {
                e->velocity.x = -e->velocity.x;
                e->position.x = -e->position.x;
            }
            if (e->position.x > view_w) {
                e->velocity.x = -e->velocity.x;
                e->position.x = e->position.x - (e->position.x - view_w);
            }
            if (e->position.y < -500.0f || e->position.y > (f32)(view_height() + 500)) e->flags |= ENTITY_DEAD;
        } else {
            if (e->position.y < 0.0f) {
                e->velocity.y = -e->velocity.y;
                e->position.y = -e->position.y;
            }
            if (e->position.y > view_h) {
                e->velocity.y = -e->velocity.y;
                e->position.y = e->position.y - (e->position.y - view_h);
            }
            if (e->position.x < -500.0f || e->position.x > (f32)(view_width() + 500)) e->flags |= ENTITY_DEAD;
        }
        if (e->flags & ENTITY_DEAD) {
            remove_entity(i);
            continue;
        }
        draw_entity(e, total_ms);
        if (e->kind == 0 || e->kind > ENTITY_LAST_HAZARD) {
            LOG_TAG_AT(345);
            log_printf("Oops!\n");
            os_halt();
        }
        i++;
    }
}
