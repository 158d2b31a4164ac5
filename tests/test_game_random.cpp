// The portable sine against correctly rounded values, and the random source
// against values worked out by hand-checked arithmetic outside the program.
#include <doctest/doctest.h>

#include "game/game_vars.h"
#include "game/portable_sine.h"
#include "game/random.h"

#include <string.h>

static double from_bits(unsigned long long b) {
    double d;
    memcpy(&d, &b, 8);
    return d;
}

static long long ulps_apart(double a, double b) {
    long long ia, ib;
    memcpy(&ia, &a, 8);
    memcpy(&ib, &b, 8);
    if (ia < 0) ia = (long long)0x8000000000000000ull - ia;
    if (ib < 0) ib = (long long)0x8000000000000000ull - ib;
    return ia > ib ? ia - ib : ib - ia;
}

// {x, sin(x) correctly rounded}
static const unsigned long long SIN_REFERENCE[][2] = {
    {0x3FE0000000000000ull, 0x3FDEAEE8744B05F0ull},
    {0xBFE0000000000000ull, 0xBFDEAEE8744B05F0ull},
    {0x3FE921FB54442D18ull, 0x3FE6A09E667F3BCCull},
    {0x3FE921FB54442D19ull, 0x3FE6A09E667F3BCDull},
    {0x3FF921FB54442D18ull, 0x3FF0000000000000ull},
    {0x400921FB54442D18ull, 0x3CA1A62633145C07ull},
    {0xC00921FB54442D18ull, 0xBCA1A62633145C07ull},
    {0x4012D97C7F3321D2ull, 0xBFF0000000000000ull},
    {0x401921FB54442D18ull, 0xBCB1A62633145C07ull},
    {0x4024000000000000ull, 0xBFE1689EF5F34F52ull},
    {0x4059000000000000ull, 0xBFE03425B78C4DB8ull},
    {0x408F400000000000ull, 0x3FEA75CC150A206Bull},
    {0x40C625BA20000000ull, 0xBFEFC0828B28D237ull},
    {0x40E869F860000000ull, 0xBFEEF4B24D50420Full},
    {0x4076300000000000ull, 0xBEFF9BD0307D1DE3ull},
    {0x40F9639000000000ull, 0xBEF40EFDF1EB8DE7ull},
    {0x412E848000000000ull, 0xBFD6664B2568D867ull},
    {0x413921FB00000000ull, 0xBFD4B02E5BE91E9Eull},
    {0x413921FC80000000ull, 0x3FED7974411B5F44ull},
    {0x410FA4000624DD2Full, 0xBFCE7C3940C54D14ull},
    {0x410FA40000000000ull, 0xBFCEDBA9E3C4C76Bull},
    {0x41CDCD6500000000ull, 0x3FE1778CAE83C69Bull},
    {0x41D0000000000000ull, 0xBFE3C12353728CAFull},
    {0x4330000000000001ull, 0x3FB053C35068E10Dull},
    {0x430C6BF526340000ull, 0x3FEB76F88136CEBAull},
    {0x4480F0CF064DD592ull, 0xBFEB453AB76BF397ull},
    {0x43B0000000000000ull, 0xBFEA94ADAB06665Cull},
    {0x54B249AD2594C37Dull, 0xBFD85C5E5B929359ull},
    {0x6974E718D7D7625Aull, 0xBFE49B644938C64Cull},
    {0x7E37E43C8800759Cull, 0xBFEA2C16B010E385ull},
    {0x7506AC5B262CA1FFull, 0x3FF0000000000000ull},
    {0x7FEFFFFFFFFFFFFFull, 0x3F7452FC98B34E97ull},
    {0x0000000000000001ull, 0x0000000000000001ull},
    {0x3DDB7CDFD9D7BDBBull, 0x3DDB7CDFD9D7BDBBull},
    {0xC480F0CF064DD592ull, 0x3FEB453AB76BF397ull},
    {0x40C81CD6C8B43958ull, 0xBFE687D5890974A5ull},
    {0x401C000000000000ull, 0x3FE50608C26D0A08ull},
    {0x4040800000000000ull, 0x3FEFFF4728416238ull},
    {0x4036000000000000ull, 0xBF8220A29F6EB9F4ull},
    {0x410E848000000000ull, 0xBFEFDF4AA91BBDE4ull},
    {0xC0E1342E4E18EBB8ull, 0x3FDDDC7E526A5AFFull},
    {0xC0F10C62A4B8969Aull, 0x3FED4A424798C75Dull},
    {0x40DD7AB94141CA48ull, 0x3FE3D9FB2B02C625ull},
    {0xC0F4E08BE1F6424Aull, 0x3FEF957D0FE85D82ull},
    {0x40BC08669ED94040ull, 0x3FEAFBA320DF833Aull},
    {0xC0DA3B8DDD0F9330ull, 0xBFEFFCA463244E64ull},
    {0xC0F5950370D31660ull, 0xBFEBECDFFD8098A0ull},
    {0x40973C96283DD180ull, 0xBFED8155DCC41494ull},
    {0xC0F6954DE49AB51Cull, 0x3FC7A4B415D74595ull},
    {0xC0C9EB6E7F8CD920ull, 0xBFE66954F0A625C5ull},
    {0xC0F500CEA501F6CEull, 0x3FDC4B665A756B27ull},
    {0xC0F3FC165B77FD1Aull, 0xBFAE444BC5EAA1F3ull},
    {0xC0CD7C14C2091E70ull, 0x3FE72A5F280164D0ull},
    {0x40EFEB4D99100AF4ull, 0x3FC5062C192D8D8Cull},
    {0xC0F25E79B96D1C1Full, 0x3FEFFB1F1F0BE95Dull},
    {0xC0EB0706A0634B47ull, 0x3FDDE683ADE10C5Full},
};

TEST_CASE("portable sine is within one ulp of the true sine, small to huge arguments") {
    for (auto &row : SIN_REFERENCE) {
        double x = from_bits(row[0]);
        double expected = from_bits(row[1]);
        double got = portable_sin(x);
        CAPTURE(x);
        CHECK(ulps_apart(got, expected) <= 1);
    }
}

TEST_CASE("portable sine keeps sign, zero and non-finite inputs") {
    CHECK(portable_sin(0.0) == 0.0);
    CHECK(portable_sin(-0.0) == 0.0);
    CHECK(portable_sin(1e-300) == 1e-300);
    double inf = from_bits(0x7FF0000000000000ull);
    CHECK(portable_sin(inf) != portable_sin(inf));
    CHECK(portable_sin(-inf) != portable_sin(-inf));
    CHECK(portable_sin(-2.0) == -portable_sin(2.0));
}

TEST_CASE("random_unit from the start seed") {
    game_vars_reset();
    const float seeds[] = {11339.4541015625f, 11341.2177734375f, 11342.9814453125f,
                           11344.7451171875f, 11346.5087890625f, 11348.2724609375f};
    const float units[] = {0.5029296875f, 0.4090576171875f, 0.88671875f, 0.95654296875f, 0.56396484375f, 0.07080078125f};
    for (int i = 0; i < 6; i++) {
        CHECK(random_unit() == units[i]);
        CHECK(game_vars.random_seed == seeds[i]);
    }
}

TEST_CASE("random_unit wraps the seed at 50000 by 49999.13") {
    game_vars_reset();
    game_vars.random_seed = 49998.0f;
    CHECK(random_unit() == 0.298828125f);
    CHECK(game_vars.random_seed == 49999.76171875f);
    game_vars.random_seed = 49999.0f;
    CHECK(random_unit() == 0.4482421875f);
    CHECK(game_vars.random_seed == 1.6317187547683716f);
}

TEST_CASE("random_spread takes the bracket in float and the rest in double") {
    game_vars_reset();
    random_unit();
    CHECK(random_spread(0.1, -1.0) == -1.0181884765625f);
}

TEST_CASE("starting values of the game variables") {
    game_vars_reset();
    CHECK(game_vars.game_state == GAME_STATE_TITLE);
    CHECK(game_vars.intro_step == 0);
    CHECK(game_vars.play_phase == PLAY_PHASE_SETUP);
    CHECK(game_vars.speed == 0.0f);
    CHECK(game_vars.hope == 30.0f);
    CHECK(game_vars.hope_stage == 2);
    CHECK(game_vars.spawn_timer_ms == 1000);
    CHECK(game_vars.random_seed == 11337.69f);
    CHECK(game_vars.show_collision_boxes == 0);
}
