// The rows of the sprite table by what they show.  The numbers are the rows'
// places in the table (render/sprite_table.cpp), which the data files' sheets
// are drawn to match.
#pragma once

enum SpriteRow : unsigned char {
  // Hazards.
  SPRITE_URCHIN = 0,
  SPRITE_POISON_CAN = 1,
  SPRITE_FISHHOOK = 2,
  SPRITE_PIRANHA = 3, // 2 frames
  SPRITE_CHAIN = 4,
  // Pick-ups.
  SPRITE_BOTTLE = 5,
  SPRITE_SEAHORSE = 6,
  SPRITE_AIR_BUBBLES = 7,
  SPRITE_PEARL_SHELL = 8,
  SPRITE_STARFISH = 9,
  SPRITE_JELLYFISH = 10, // 2 frames
  // Rows 11 to 15 lie on the sheet but are not drawn by the game.
  // Particles.
  SPRITE_TRAIL_GLOOMY = 16, // the trail's bubble below hope 0
  SPRITE_TRAIL = 17,
  SPRITE_CRASH_FLASH = 18,
  SPRITE_CRASH_SPARK = 19,
  SPRITE_HAZARD_SPARK = 20,
  SPRITE_PICKUP_SPARK = 21,
  // The diver.
  SPRITE_DESPAIR = 22, // 2 frames, drawn below the diver in the abyss
  SPRITE_DIVER_JOYFUL = 23,
  SPRITE_DIVER_HOPEFUL = 24,
  SPRITE_DIVER = 25,
  SPRITE_DIVER_GLOOMY = 26,
  SPRITE_DIVER_ABYSS = 27,
  SPRITE_DIVER_WAITING = 28,
  // The surface and the opening.
  SPRITE_START_PROMPT = 29,
  SPRITE_SURFACE = 30,
  SPRITE_OPENING_5 = 31,
  SPRITE_OPENING_4 = 32,
  SPRITE_OPENING_3 = 33,
  SPRITE_OPENING_2 = 34,
  SPRITE_OPENING_1 = 35,
  SPRITE_OPENING_DIVER_STILL = 36,
  SPRITE_OPENING_DIVER = 37, // 2 frames
  // Backgrounds, one per hope stage, on the background sheet.
  SPRITE_BACKGROUND_JOYFUL = 38,
  SPRITE_BACKGROUND_HOPEFUL = 39,
  SPRITE_BACKGROUND = 40,
  SPRITE_BACKGROUND_GLOOMY = 41,
  SPRITE_BACKGROUND_ABYSS = 42,
};
