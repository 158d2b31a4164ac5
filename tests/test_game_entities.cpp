// Entities: spawn recipes, placement, walls, contact, collision effects and
// drawing.  Expected numbers were worked out outside the program.
#include <doctest/doctest.h>

#include "game/entities.h"
#include "game/game_vars.h"
#include "game/particles.h"
#include "game/frame_clock.h"
#include "game_harness.h"

static Entity *entity(u64 i) { return (Entity *)entity_list.items + i; }

static void empty_entities(void) { entity_list = dynarray_create(sizeof(Entity), 32); }

static Entity make_entity(u8 kind, int row, float x, float y, float hw, float hh) {
    Entity e = {};
    e.kind = kind;
    e.sprite = &sprite_table[row];
    e.position = Vec2f{x, y};
    e.half_size = Vec2f{hw, hh};
    return e;
}

static void add_entity(Entity e) { dynarray_push(&entity_list, sizeof(Entity), &e); }

// Seeds after 1, 2, 3 draws from the start seed.
static const float SEED_AFTER[] = {11339.4541015625f, 11341.2177734375f, 11342.9814453125f};

TEST_CASE("spawn recipes: velocity, position, half-size and number of draws per kind") {
    struct Case {
        u8 kind;
        float vx, vy, x, y, hw, hh;
        u8 flags;
        int draws;
    } cases[] = {
        {3, 0.0f, -1.0181884765625f, 1135.0f, 864.0f, 49, 54, 0, 3},
        {4, -0.0909423828125f, -0.49970704317092896f, 1135.0f, 832.0f, 22, 22, 0, 3},
        {8, 0.0f, -0.49970704317092896f, 523.59375f, 928.0f, 38, 118, 0, 2},
        {9, 0.0f, -0.49970704317092896f, 523.59375f, 816.0f, 150, 6, 0, 2},
        {10, -1.036376953125f, 0.0011718750465661287f, 1328.0f, 709.375f, 33, 22, ENTITY_HORIZONTAL, 3},
        {11, -0.181884765625f, -0.998828113079071f, 1135.0f, 832.0f, 1, 22, 0, 3},
    };
    for (const Case &c : cases) {
        CAPTURE((int)c.kind);
        harness_reset();
        empty_entities();
        spawn_entity(c.kind);
        REQUIRE(entity_list.count == 1);
        Entity *e = entity(0);
        CHECK(e->kind == c.kind);
        CHECK(e->flags == c.flags);
        CHECK(e->velocity.x == c.vx);
        CHECK(e->velocity.y == c.vy);
        CHECK(e->position.x == c.x);
        CHECK(e->position.y == c.y);
        CHECK(e->half_size.x == c.hw);
        CHECK(e->half_size.y == c.hh);
        CHECK(game_vars.random_seed == SEED_AFTER[c.draws - 1]);
    }
}

TEST_CASE("half-sizes and sprite rows of every object kind") {
    const int rows[] = {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    const float half[][2] = {{49, 54}, {22, 22}, {22, 22}, {22, 22}, {38, 70}, {38, 118},
                             {150, 6}, {33, 22}, {1, 22},  {6, 22},  {22, 22}};
    harness_reset();
    empty_entities();
    for (u8 kind = 3; kind <= 13; kind++) spawn_entity(kind);
    REQUIRE(entity_list.count == 11);
    for (int i = 0; i < 11; i++) {
        CAPTURE(i + 3);
        CHECK(sprite_row(entity(i)->sprite) == rows[i]);
        CHECK(entity(i)->half_size.x == half[i][0]);
        CHECK(entity(i)->half_size.y == half[i][1]);
    }
}

TEST_CASE("place_at_bottom keeps the whole sprite inside the width") {
    harness_reset();
    Entity e = {};
    e.sprite = &sprite_table[9];  // 64 x 64
    game_vars.random_seed = 103.5f;  // next unit 0.0087890625: x would be 11.25
    place_at_bottom(&e);
    CHECK(e.position.x == 32.0f);
    CHECK(e.position.y == 832.0f);
    game_vars.random_seed = 100.0f;  // next unit 0.990234375: x would be 1267.5
    place_at_bottom(&e);
    CHECK(e.position.x == 1248.0f);
}

TEST_CASE("kinds that spawn_entity does not make halt and append nothing") {
    harness_reset();
    empty_entities();
    for (u8 kind : {0, 1, 2, 14, 15, 200}) spawn_entity(kind);
    CHECK(harness_halts == 6);
    CHECK(entity_list.count == 0);
}

TEST_CASE("an entity of an impossible kind halts in the update and in the drawing") {
    harness_reset();
    empty_entities();
    add_entity(make_entity(14, 0, 100, 100, 22, 22));
    do_entities();
    CHECK(harness_halts == 2);
}

TEST_CASE("walls bounce objects and the far field removes them") {
    harness_reset();
    empty_entities();
    Entity left = make_entity(5, 8, 1, 400, 22, 22);
    left.velocity = Vec2f{-3, 0};
    Entity right = make_entity(5, 8, 1279, 400, 22, 22);
    right.velocity = Vec2f{3, 0};
    Entity top = make_entity(5, 8, 600, -499.5f, 22, 22);
    top.velocity = Vec2f{0, -1};
    Entity bottom = make_entity(5, 8, 600, 1300, 22, 22);
    bottom.velocity = Vec2f{0, 0.5f};
    Entity cross = make_entity(10, 3, 600, 1, 33, 22);
    cross.flags = ENTITY_HORIZONTAL;
    cross.velocity = Vec2f{-1, -2};
    Entity gone = make_entity(10, 3, -499.5f, 300, 33, 22);
    gone.flags = ENTITY_HORIZONTAL;
    gone.velocity = Vec2f{-1, 0};
    for (const Entity &e : {left, right, top, bottom, cross, gone}) add_entity(e);
    do_entities();
    REQUIRE(entity_list.count == 3);
    CHECK(entity(0)->position.x == 2.0f);
    CHECK(entity(0)->velocity.x == 3.0f);
    CHECK(entity(1)->position.x == 1280.0f);
    CHECK(entity(1)->velocity.x == -3.0f);
    CHECK(entity(2)->kind == 10);
    CHECK(entity(2)->position.y == 1.0f);
    CHECK(entity(2)->velocity.y == 2.0f);
}

TEST_CASE("an object leaves only once strictly more than 500 pixels past an edge, on either side") {
    harness_reset();
    empty_entities();
    struct Case {
        u8 kind;
        float x, y, vx, vy;
        bool stays;
    } cases[] = {
        {5, 600, 1299.5f, 0, 0.5f, true},    // bottom: y 1300 = H + 500
        {5, 600, 1300, 0, 0.5f, false},      // y 1300.5
        {5, 600, -499.5f, 0, -0.5f, true},   // top: y -500
        {5, 600, -500, 0, -0.5f, false},     // y -500.5
        {10, 1779.5f, 400, 0.5f, 0, true},   // far right: x 1780 = W + 500
        {10, 1780, 400, 0.5f, 0, false},     // x 1780.5
        {10, -499.5f, 400, -0.5f, 0, true},  // left: x -500
        {10, -500, 400, -0.5f, 0, false},    // x -500.5
    };
    for (const Case &c : cases) {
        Entity e = make_entity(c.kind, c.kind == 10 ? 3 : 8, c.x, c.y, 22, 22);
        if (c.kind == 10) e.flags = ENTITY_HORIZONTAL;
        e.velocity = Vec2f{c.vx, c.vy};
        add_entity(e);
    }
    do_entities();
    REQUIRE(entity_list.count == 4);
    CHECK(entity(0)->position.y == 1300.0f);
    CHECK(entity(1)->position.y == -500.0f);
    CHECK(entity(2)->position.x == 1780.0f);
    CHECK(entity(3)->position.x == -500.0f);
}

TEST_CASE("the diver's box touches at an edge and not one float step beyond") {
    for (int beyond = 0; beyond < 2; beyond++) {
        harness_reset();
        empty_entities();
        game_vars.hope_stage = 3;  // no trail
        add_entity(make_entity(1, 25, 100, 100, 16, 56));
        // 100 + 16 == 138 - 22: edge contact
        float x = beyond ? 138.00002f : 138.0f;
        add_entity(make_entity(5, 8, x, 100, 22, 22));
        do_entities();
        CAPTURE(beyond);
        CHECK(entity_list.count == (beyond ? 2u : 1u));
        CHECK(particle_list.count == (beyond ? 0u : 5u));
    }
}

TEST_CASE("collision effects by kind and hope stage") {
    struct Case {
        u8 kind;
        int row;
        int stage;
        float hope_change;
        u64 particles;
        int first_row, last_row;
        SoundHandle sound;
    } cases[] = {
        {3, 10, 2, 5, 5, 21, 21, 8},  {8, 5, 4, 5, 5, 21, 21, 8},  {9, 4, 0, -5, 13, 19, 18, 7},
        {13, 0, 1, -5, 5, 20, 20, 9}, {11, 2, 4, -5, 5, 20, 20, 9},
    };
    for (const Case &c : cases) {
        CAPTURE((int)c.kind);
        CAPTURE(c.stage);
        harness_reset();
        empty_entities();
        game_vars.hope_stage = c.stage;
        game_vars.hope = -102.0f;
        game_vars.trail_timer_ms = 1000;
        add_entity(make_entity(1, 25, 600, 400, 16, 56));
        add_entity(make_entity(c.kind, c.row, 610, 420, 22, 22));
        harness_frame(0);
        do_entities();
        CHECK(game_vars.hope == -102.0f + c.hope_change);
        CHECK(entity_list.count == 1);
        REQUIRE(particle_list.count == c.particles);
        const Particle *p = (const Particle *)particle_list.items;
        CHECK(sprite_row(p[0].sprite) == c.first_row);
        CHECK(sprite_row(p[c.particles - 1].sprite) == c.last_row);
        CHECK(p[0].position.x == 610.0f);
        CHECK(p[0].position.y == 420.0f);
    }
}

TEST_CASE("two pick-ups in one frame raise hope by 10; an object before the diver goes next frame") {
    harness_reset();
    empty_entities();
    game_vars.hope_stage = 3;
    add_entity(make_entity(6, 7, 600, 400, 22, 22));
    add_entity(make_entity(1, 25, 600, 400, 16, 56));
    add_entity(make_entity(4, 9, 600, 420, 22, 22));
    do_entities();
    CHECK(game_vars.hope == 40.0f);
    CHECK(particle_list.count == 10);
    CHECK(entity_list.count == 2);  // the earlier one was already drawn this frame
    do_entities();
    CHECK(entity_list.count == 1);
    CHECK(entity(0)->kind == 1);
}

TEST_CASE("a kind-3 pick-up at the left wall gets x velocity 1, at the right -1") {
    harness_reset();
    empty_entities();
    add_entity(make_entity(3, 10, 0, 400, 49, 54));
    add_entity(make_entity(3, 10, 1280, 400, 49, 54));
    harness_frame(0);
    do_entities();
    CHECK(entity(0)->velocity.x == 1.0f);
    CHECK(entity(0)->position.x == 1.0f);
    CHECK(entity(1)->velocity.x == -1.0f);
    CHECK(entity(1)->position.x == 1279.0f);
}

TEST_CASE("diver steering, clamping and its trail") {
    harness_reset();
    empty_entities();
    add_entity(make_entity(1, 25, 600, 400, 16, 56));
    harness_key_down(0x44);  // D
    harness_key_down(0x57);  // W
    harness_frame(0);        // delivers the keys without a game frame running the list
    frame_clock.delta_ms = 100;
    do_entities();
    // 0 * 0.99 + 100 * 0.005 = 0.5; 0 - 100 * 0.002 = -0.2
    CHECK(entity(0)->velocity.x == 0.5f);
    CHECK(entity(0)->velocity.y == -0.2f);
    CHECK(entity(0)->position.x == 600.5f);
    REQUIRE(particle_list.count == 1);
    const Particle *trail = (const Particle *)particle_list.items;
    CHECK(sprite_row(trail->sprite) == 17);
    CHECK(trail->position.x == 607.0f);  // before this frame's move
    CHECK(trail->position.y == 450.0f);
    CHECK(trail->velocity.x == 0.060234375298023224f);
    CHECK(trail->velocity.y == -0.1f);
    CHECK(trail->lifetime_ms == 3000);
    CHECK(game_vars.trail_timer_ms == 150);
    CHECK(game_vars.trail_side == 1);
    for (int i = 0; i < 3; i++) do_entities();
    CHECK(entity(0)->velocity.x == 1.0f);  // clamped
    CHECK(particle_list.count == 2);
    CHECK(((const Particle *)particle_list.items)[1].position.x < entity(0)->position.x);
}

TEST_CASE("a trail timer that lands exactly on 0 drops nothing until it goes below") {
    harness_reset();
    empty_entities();
    add_entity(make_entity(1, 25, 600, 400, 16, 56));
    game_vars.hope_stage = 2;
    game_vars.trail_timer_ms = 16;
    frame_clock.delta_ms = 16;
    do_entities();
    CHECK(game_vars.trail_timer_ms == 0);
    CHECK(particle_list.count == 0);
    frame_clock.delta_ms = 1;
    do_entities();
    CHECK(game_vars.trail_timer_ms == 249);
    CHECK(particle_list.count == 1);

    // Outside stages 1 and 2 the timer stands still.
    game_vars.hope_stage = 3;
    frame_clock.delta_ms = 300;
    do_entities();
    CHECK(game_vars.trail_timer_ms == 249);
    CHECK(particle_list.count == 1);
}

TEST_CASE("drawing: boxes under the sprite, rotations and the despair overlay") {
    harness_reset();
    empty_entities();
    game_vars.show_collision_boxes = 1;
    game_vars.hope_stage = 0;
    game_vars.hope = -150.0f;
    game_vars.trail_timer_ms = 1000;
    Entity diver = make_entity(1, 27, 600, 400, 16, 56);
    diver.velocity = Vec2f{0.5f, 0};
    add_entity(diver);
    add_entity(make_entity(11, 2, 100, 300, 1, 22));
    frame_clock.total_ms = 1000;
    frame_clock.delta_ms = 0;
    begin_frame();
    do_entities();
    draw_instances();
    const std::vector<SpriteInstance> &in = harness_recording().instances;
    REQUIRE(in.size() == 7);
    // Diver: red frame, white inside, sprite, despair.
    CHECK(+in[0].fill_color[0] == 255);
    CHECK(+in[0].fill_color[1] == 0);
    CHECK(+in[0].size[0] == 32.0f);
    CHECK(+in[0].size[1] == 112.0f);
    CHECK(+in[0].anchor[0] == 0.5f);
    CHECK(+in[0].tex_w == 0);
    CHECK(+in[1].fill_color[1] == 255);
    CHECK(+in[1].size[0] == 26.0f);
    CHECK(+in[1].size[1] == 106.0f);
    CHECK(+in[2].position[0] == 600.4949951171875f);
    CHECK(+in[2].size[0] == 64.0f);
    CHECK(+in[2].size[1] == 192.0f);
    CHECK(+in[2].tex_x == 1728);  // frame 0 at 1000 ms
    CHECK(+in[2].rotation == 0.0518362782895565f);
    CHECK(+in[2].fill_color[3] == 0);
    CHECK(+in[2].tint[3] == 255);
    CHECK(+in[3].tex_x == 1600);
    CHECK(+in[3].size[0] == 192.0f);  // k = 2 at hope -150
    CHECK(+in[3].size[1] == 320.0f);
    CHECK(+in[3].anchor[1] == 0.7f);
    CHECK(+in[3].position[1] == 420.0f);
    // The spinning hazard: a 2-pixel-wide box and 0.01 rad per ms.
    CHECK(+in[4].size[0] == 2.0f);
    CHECK(+in[5].size[0] == -4.0f);
    CHECK(+in[6].rotation == 10.0f);
}

TEST_CASE("rocking kinds lean by the clock") {
    harness_reset();
    empty_entities();
    add_entity(make_entity(4, 9, 100, 300, 22, 22));
    add_entity(make_entity(12, 1, 300, 300, 6, 22));
    frame_clock.total_ms = 1000;
    begin_frame();
    do_entities();
    draw_instances();
    const std::vector<SpriteInstance> &in = harness_recording().instances;
    REQUIRE(in.size() == 2);
    CHECK(+in[0].rotation == 0.02463008649647236f);
    CHECK(+in[1].rotation == 0.02463008649647236f);
}
