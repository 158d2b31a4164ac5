#include "render/sprite.h"
#include "render/sprite_rows.h"

// x, y, w, h, layer, frame_count, frame_ms
Sprite sprite_table[SPRITE_TABLE_ROWS] = {
    {1056, 64, 64, 64, 0, 0, 0},  // 0 SPRITE_URCHIN
    {928, 0, 32, 64, 0, 0, 0},  // 1 SPRITE_POISON_CAN
    {896, 0, 32, 64, 0, 0, 0},  // 2 SPRITE_FISHHOOK
    {512, 192, 96, 64, 0, 2, 250},  // 3 SPRITE_PIRANHA
    {544, 0, 320, 32, 0, 0, 0},  // 4 SPRITE_CHAIN
    {960, 0, 96, 256, 0, 0, 0},  // 5 SPRITE_BOTTLE
    {800, 32, 96, 160, 0, 0, 0},  // 6 SPRITE_SEAHORSE
    {736, 160, 64, 64, 0, 0, 0},  // 7 SPRITE_AIR_BUBBLES
    {736, 96, 64, 64, 0, 0, 0},  // 8 SPRITE_PEARL_SHELL
    {736, 32, 64, 64, 0, 0, 0},  // 9 SPRITE_STARFISH
    {480, 32, 128, 128, 0, 2, 150},  // 10 SPRITE_JELLYFISH
    {0, 1536, 224, 64, 0, 0, 0},  // 11 SPRITE_UNUSED_11
    {384, 1504, 448, 32, 0, 0, 0},  // 12 SPRITE_UNUSED_12
    {384, 1440, 448, 64, 0, 0, 0},  // 13 SPRITE_UNUSED_13
    {0, 1440, 384, 96, 0, 0, 0},  // 14 SPRITE_UNUSED_14
    {0, 1344, 800, 96, 0, 0, 0},  // 15 SPRITE_UNUSED_15
    {416, 0, 9, 26, 0, 0, 0},  // 16 SPRITE_TRAIL_GLOOMY
    {480, 0, 9, 26, 0, 0, 0},  // 17 SPRITE_TRAIL
    {1792, 480, 64, 64, 0, 0, 0},  // 18 SPRITE_CRASH_FLASH
    {576, 160, 32, 32, 0, 0, 0},  // 19 SPRITE_CRASH_SPARK
    {544, 160, 32, 32, 0, 0, 0},  // 20 SPRITE_HAZARD_SPARK
    {512, 160, 32, 32, 0, 0, 0},  // 21 SPRITE_PICKUP_SPARK
    {1600, 384, 96, 160, 0, 2, 50},  // 22 SPRITE_DESPAIR
    {1856, 32, 96, 128, 0, 2, 200},  // 23 SPRITE_DIVER_JOYFUL
    {1728, 0, 64, 160, 0, 2, 200},  // 24 SPRITE_DIVER_HOPEFUL
    {1600, 0, 64, 160, 0, 2, 200},  // 25 SPRITE_DIVER
    {1600, 160, 64, 160, 0, 2, 200},  // 26 SPRITE_DIVER_GLOOMY
    {1728, 160, 64, 192, 0, 2, 100},  // 27 SPRITE_DIVER_ABYSS
    {1440, 0, 160, 160, 0, 0, 0},  // 28 SPRITE_DIVER_WAITING
    {0, 160, 512, 96, 0, 0, 0},  // 29 SPRITE_START_PROMPT
    {0, 256, 1285, 294, 0, 0, 0},  // 30 SPRITE_SURFACE
    {960, 1248, 455, 144, 0, 0, 0},  // 31 SPRITE_OPENING_5
    {960, 928, 553, 307, 0, 0, 0},  // 32 SPRITE_OPENING_4
    {960, 832, 299, 81, 0, 0, 0},  // 33 SPRITE_OPENING_3
    {960, 608, 632, 208, 0, 0, 0},  // 34 SPRITE_OPENING_2
    {960, 1408, 640, 480, 0, 0, 0},  // 35 SPRITE_OPENING_1
    {448, 608, 448, 736, 0, 0, 0},  // 36 SPRITE_OPENING_DIVER_STILL
    {0, 608, 448, 736, 0, 2, 600},  // 37 SPRITE_OPENING_DIVER
    {0, 1152, 448, 576, 0, 0, 0},  // 38 SPRITE_BACKGROUND_JOYFUL
    {0, 576, 448, 576, 0, 0, 0},  // 39 SPRITE_BACKGROUND_HOPEFUL
    {0, 0, 1024, 576, 0, 0, 0},  // 40 SPRITE_BACKGROUND
    {1024, 576, 1024, 576, 0, 0, 0},  // 41 SPRITE_BACKGROUND_GLOOMY
    {1024, 1152, 1024, 576, 0, 0, 0},  // 42 SPRITE_BACKGROUND_ABYSS
};

static_assert(SPRITE_BACKGROUND_ABYSS + 1 == SPRITE_TABLE_ROWS, "every row has a name");
static_assert(SPRITE_DIVER_WAITING == 28 && SPRITE_BACKGROUND == 40, "the names count the rows in order");
static_assert(SPRITE_BACKGROUND_JOYFUL == SPRITE_FIRST_BACKGROUND_ROW, "the backgrounds close the table");
