// The rows of the sprite table by what they show, in the table's order
// (render/sprite_table.cpp), which the data files' sheets are drawn to match.
#pragma once

enum SpriteRow : unsigned char {
    // Hazards.
    SPRITE_URCHIN = 0,
    SPRITE_POISON_CAN,
    SPRITE_FISHHOOK,
    SPRITE_PIRANHA,  // 2 frames
    SPRITE_CHAIN,
    // Pick-ups.
    SPRITE_BOTTLE,
    SPRITE_SEAHORSE,
    SPRITE_AIR_BUBBLES,
    SPRITE_PEARL_SHELL,
    SPRITE_STARFISH,
    SPRITE_JELLYFISH,  // 2 frames
    // Five rows on the sheet that the game does not draw.
    SPRITE_UNUSED_11,
    SPRITE_UNUSED_12,
    SPRITE_UNUSED_13,
    SPRITE_UNUSED_14,
    SPRITE_UNUSED_15,
    // Particles.
    SPRITE_TRAIL_GLOOMY,  // the trail's bubble below hope 0
    SPRITE_TRAIL,
    SPRITE_CRASH_FLASH,
    SPRITE_CRASH_SPARK,
    SPRITE_HAZARD_SPARK,
    SPRITE_PICKUP_SPARK,
    // The diver.
    SPRITE_DESPAIR,  // 2 frames, drawn below the diver in the abyss
    SPRITE_DIVER_JOYFUL,
    SPRITE_DIVER_HOPEFUL,
    SPRITE_DIVER,
    SPRITE_DIVER_GLOOMY,
    SPRITE_DIVER_ABYSS,
    SPRITE_DIVER_WAITING,
    // The surface and the opening.
    SPRITE_START_PROMPT,
    SPRITE_SURFACE,
    SPRITE_OPENING_5,
    SPRITE_OPENING_4,
    SPRITE_OPENING_3,
    SPRITE_OPENING_2,
    SPRITE_OPENING_1,
    SPRITE_OPENING_DIVER_STILL,
    SPRITE_OPENING_DIVER,  // 2 frames
    // Backgrounds, one per hope stage, on the background sheet.
    SPRITE_BACKGROUND_JOYFUL,
    SPRITE_BACKGROUND_HOPEFUL,
    SPRITE_BACKGROUND,
    SPRITE_BACKGROUND_GLOOMY,
    SPRITE_BACKGROUND_ABYSS,
};
