// Particles: ageing and removal, colour bytes, animation by age, scale, and
// the burst recipes.  Expected numbers were worked out outside the program.
#include <doctest/doctest.h>

#include "game/bursts.h"
#include "game/game_vars.h"
#include "game/particles.h"
#include "game/frame_clock.h"
#include "game_harness.h"

static Particle *particle(u64 i) { return (Particle *)particle_list.items + i; }

static void run_particles(i32 delta_ms) {
    frame_clock.delta_ms = delta_ms;
    begin_frame();
    update_particles();
    draw_instances();
}

TEST_CASE("colour components become bytes clamped to 0 and 255, truncated") {
    CHECK(color_byte(-0.1f) == 0);
    CHECK(color_byte(0.0f) == 0);
    CHECK(color_byte(0.999f) == 254);
    CHECK(color_byte(1.0f) == 255);
    CHECK(color_byte(2.0f) == 255);
    CHECK(color_byte(0.5f) == 127);
}

TEST_CASE("a particle whose age reaches its lifetime is removed undrawn; order is kept") {
    harness_reset();
    Particle a = {}, b = {};
    a.sprite = &sprite_table[21];
    a.lifetime_ms = 1000;
    a.scale = Vec2f{1, 1};
    b = a;
    b.lifetime_ms = 1001;
    b.position = Vec2f{5, 6};
    add_particle(&a);
    add_particle(&b);
    add_particle(&a);
    run_particles(1000);
    REQUIRE(particle_list.count == 1);
    CHECK(particle(0)->position.x == 5.0f);
    CHECK(particle(0)->age_ms == 1000);
    REQUIRE(harness_recording().instances.size() == 1);
    CHECK(+harness_recording().instances[0].position[0] == 5.0f);
}

TEST_CASE("flags move, scale, rotate and fade by delta_ms; tint and size follow") {
    harness_reset();
    Particle p = {};
    p.flags = PARTICLE_MOVE | PARTICLE_SCALE | PARTICLE_ROTATE | PARTICLE_COLOR | PARTICLE_CENTERED;
    p.sprite = &sprite_table[19];  // 32 x 32
    p.position = Vec2f{10, 20};
    p.velocity = Vec2f{0.5f, -0.25f};
    p.scale = Vec2f{2.0f, 0.5f};
    p.rotation = 80.0f;
    p.angular_velocity = 1.0f;
    p.color = Color4f{1, 0.5f, 0, 2};
    p.color_velocity = Color4f{0, 0, -0.01f, -0.001f};
    p.lifetime_ms = 5000;
    add_particle(&p);
    run_particles(10);
    const SpriteInstance &in = harness_recording().instances.at(0);
    CHECK(+in.position[0] == 15.0f);
    CHECK(+in.position[1] == 17.5f);
    CHECK(+in.size[0] == 64.0f);
    CHECK(+in.size[1] == 16.0f);
    CHECK(+in.anchor[0] == 0.5f);
    CHECK(+in.rotation == 1.5707963705062866f);  // 90 degrees
    CHECK(+in.tint[0] == 255);
    CHECK(+in.tint[1] == 127);
    CHECK(+in.tint[2] == 0);    // below 0 is 0, not a wrap
    CHECK(+in.tint[3] == 255);  // 1.99 stays opaque
    CHECK(+in.fill_color[3] == 0);

    Particle still = {};
    still.sprite = &sprite_table[19];
    still.position = Vec2f{1, 2};
    still.velocity = Vec2f{100, 100};
    still.scale = Vec2f{1, 1};
    still.lifetime_ms = 100;
    clear_particles();
    add_particle(&still);
    run_particles(10);
    const SpriteInstance &s = harness_recording().instances.at(0);
    CHECK(+s.position[0] == 1.0f);  // no PARTICLE_MOVE
    CHECK(+s.anchor[0] == 0.0f);    // top-left without PARTICLE_CENTERED
    CHECK(+s.tint[0] == 0);         // colour 0 draws 0
}

TEST_CASE("each particle flag on its own changes only what it names") {
    const u8 flags[] = {0, PARTICLE_MOVE, PARTICLE_SCALE, PARTICLE_ROTATE, PARTICLE_COLOR, PARTICLE_CENTERED};
    const f32 still_radians = (f32)(80.0 * 3.14159265358979323846 / 180.0);
    const f32 turned_radians = (f32)(90.0 * 3.14159265358979323846 / 180.0);
    for (u8 flag : flags) {
        CAPTURE(flag);
        harness_reset();
        Particle p = {};
        p.flags = flag;
        p.sprite = &sprite_table[19];  // 32 x 32
        p.position = Vec2f{10, 20};
        p.velocity = Vec2f{0.5f, -0.25f};
        p.scale = Vec2f{2.0f, 0.5f};
        p.scale_velocity = Vec2f{0.0625f, 0.125f};
        p.rotation = 80.0f;
        p.angular_velocity = 0.625f;
        p.color = Color4f{0.25f, 1, 1, 1};
        p.color_velocity = Color4f{0.015625f, 0, 0, 0};
        p.lifetime_ms = 5000;
        add_particle(&p);
        run_particles(16);
        REQUIRE(harness_recording().instances.size() == 1);
        const SpriteInstance &in = harness_recording().instances[0];
        const bool moves = flag == PARTICLE_MOVE, scales = flag == PARTICLE_SCALE;
        CHECK(+in.position[0] == (moves ? 18.0f : 10.0f));
        CHECK(+in.position[1] == (moves ? 16.0f : 20.0f));
        CHECK(+in.size[0] == (scales ? 96.0f : 64.0f));
        CHECK(+in.size[1] == (scales ? 80.0f : 16.0f));
        CHECK(+in.rotation == (flag == PARTICLE_ROTATE ? turned_radians : still_radians));
        CHECK(+in.tint[0] == (flag == PARTICLE_COLOR ? 127 : 63));
        CHECK(+in.anchor[0] == (flag == PARTICLE_CENTERED ? 0.5f : 0.0f));
        CHECK(+in.anchor[1] == (flag == PARTICLE_CENTERED ? 0.5f : 0.0f));
    }

    // Only PARTICLE_IMMORTAL outlives the lifetime.
    harness_reset();
    Particle brief = {};
    brief.sprite = &sprite_table[19];
    brief.scale = Vec2f{1, 1};
    brief.lifetime_ms = 1;
    brief.flags = PARTICLE_MOVE | PARTICLE_SCALE | PARTICLE_ROTATE | PARTICLE_COLOR | PARTICLE_CENTERED;
    add_particle(&brief);
    brief.flags = PARTICLE_IMMORTAL;
    add_particle(&brief);
    run_particles(16);
    REQUIRE(particle_list.count == 1);
    CHECK(particle(0)->flags == PARTICLE_IMMORTAL);
}

TEST_CASE("an immortal particle keeps ageing and animates by its age") {
    harness_reset();
    Particle p = {};
    p.flags = PARTICLE_IMMORTAL;
    p.sprite = &sprite_table[10];  // 2 frames of 150 ms from x 480
    p.scale = Vec2f{1, 1};
    add_particle(&p);
    run_particles(149);
    CHECK(+harness_recording().instances.at(0).tex_x == 480);
    run_particles(1);
    CHECK(+harness_recording().instances.at(0).tex_x == 608);
    run_particles(150);
    CHECK(+harness_recording().instances.at(0).tex_x == 480);
    run_particles(100000);
    CHECK(particle_list.count == 1);
    CHECK(particle(0)->age_ms == 100300);
}

TEST_CASE("pick-up and hazard sparks: scale, shrink rate, velocity, spin, fade, life") {
    harness_reset();
    add_pickup_sparks(Vec2f{50, 60});
    REQUIRE(particle_list.count == 5);
    const Particle *p = particle(0);
    CHECK(p->flags == (PARTICLE_MOVE | PARTICLE_ROTATE | PARTICLE_COLOR | PARTICLE_SCALE | PARTICLE_CENTERED));
    CHECK(sprite_row(p->sprite) == 21);
    CHECK(p->scale.x == 1.1046874523162842f);
    CHECK(p->scale.y == 1.1046874523162842f);
    CHECK(p->scale_velocity.x == -0.00020937499357387424f);
    CHECK(p->velocity.x == -0.02728271484375f);
    CHECK(p->velocity.y == 0.11601562798023224f);
    CHECK(p->angular_velocity == 0.45654296875f);
    CHECK(p->color.a == 2.0f);
    CHECK(p->color_velocity.a == -0.002f);
    CHECK(p->lifetime_ms == 1000);
    CHECK(p->position.x == 50.0f);
    harness_reset();
    add_hazard_sparks(Vec2f{0, 0});
    CHECK(sprite_row(particle(4)->sprite) == 20);
}

TEST_CASE("crash sparks and the crash flash") {
    harness_reset();
    add_crash_sparks(Vec2f{1, 2});
    add_crash_flash(Vec2f{1, 2});
    REQUIRE(particle_list.count == 13);
    const Particle *p = particle(0);
    CHECK(sprite_row(p->sprite) == 19);
    CHECK(p->scale.x == 1.0046875476837158f);
    CHECK(p->scale.y == 0.8544921875f);
    CHECK(p->scale_velocity.x == 0.001023437362164259f);
    CHECK(p->scale_velocity.y == 0.0014599609421566129f);
    CHECK(p->velocity.x == 0.03837890550494194f);
    CHECK(p->velocity.y == -0.25751954317092896f);
    CHECK(p->angular_velocity == -0.9375f);
    CHECK(p->color.a == 1.0f);
    CHECK(p->color_velocity.a == -0.0016666667f);
    CHECK(p->lifetime_ms == 600);
    const Particle *flash = particle(12);
    CHECK(sprite_row(flash->sprite) == 18);
    CHECK(flash->flags == (PARTICLE_ROTATE | PARTICLE_COLOR | PARTICLE_SCALE | PARTICLE_CENTERED));
    CHECK(flash->scale_velocity.x == 0.00875f);
    CHECK(flash->angular_velocity == 5.0f);
    CHECK(flash->color_velocity.a == -0.00125f);
    CHECK(flash->lifetime_ms == 800);
}

TEST_CASE("trail particles: sprite by stage, drift by side") {
    harness_reset();
    add_trail_particle(Vec2f{3, 4}, 1, 1);
    const Particle *p = particle(0);
    CHECK(sprite_row(p->sprite) == 16);
    CHECK(p->velocity.x == -0.060234375298023224f);
    CHECK(p->velocity.y == -0.1f);
    CHECK(p->flags == (PARTICLE_MOVE | PARTICLE_COLOR | PARTICLE_CENTERED));
    CHECK(p->color.a == 2.0f);
    CHECK(p->color_velocity.a == -0.00066666666f);
}
