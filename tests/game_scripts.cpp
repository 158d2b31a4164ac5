#include "game_scripts.h"

#include "game/game_vars.h"
#include "game_harness.h"

const char *const GAME_SCRIPT_NAMES[SCRIPT_COUNT] = {
    "title, intro, skip", "intro to its end", "waiting with steering", "fall with all four keys",
    "plus and minus through all stages", "collisions in stage 0 and others", "boxes toggled",
    "fall at 120 fps", "diver leaves the field",
};

static void press(uint16_t vk) {
    harness_key_down(vk);
    harness_key_up(vk);
}

static void hold(uint16_t vk, int frames) {
    harness_key_down(vk);
    harness_frames_60(frames);
    harness_key_up(vk);
}

static void to_waiting(void) {
    harness_frames_60(5);
    press(0x58);
    harness_frames_60(30);
    press(0x58);
    harness_frames_60(2);
}

static void to_falling(void) {
    to_waiting();
    press(0x58);
    harness_frames_60(1);
}

// Sways the diver left and right around the middle for a while.
static void weave(int rounds) {
    for (int i = 0; i < rounds; i++) {
        hold(0x41, 40);
        harness_frames_60(20);
        hold(0x44, 40);
        harness_frames_60(20);
    }
}

uint64_t run_game_script(GameScript script) {
    harness_reset();
    switch (script) {
    case SCRIPT_TITLE_INTRO_SKIP:
        to_waiting();
        harness_frames_60(30);
        break;
    case SCRIPT_INTRO_TO_END:
        harness_frames_60(3);
        press(0x58);
        harness_frames_60(60 * 18);
        break;
    case SCRIPT_WAITING_STEERING:
        to_waiting();
        hold(0x41, 90);
        hold(0x44, 200);
        harness_frames_60(60);
        break;
    case SCRIPT_FALL_ALL_KEYS:
        to_falling();
        hold(0x57, 60);
        hold(0x41, 45);
        hold(0x53, 90);
        hold(0x44, 45);
        harness_key_down(0x41);
        harness_key_down(0x57);
        harness_frames_60(30);
        harness_key_up(0x41);
        harness_key_up(0x57);
        weave(4);
        break;
    case SCRIPT_STAGES_UP_AND_DOWN:
        to_falling();
        for (int i = 0; i < 8; i++) {
            press(0xBB);
            harness_frames_60(20);
        }
        for (int i = 0; i < 26; i++) {
            press(0xBD);
            harness_frames_60(20);
        }
        for (int i = 0; i < 18; i++) {
            press(0xBB);
            harness_frames_60(20);
        }
        break;
    case SCRIPT_COLLISIONS:
        to_falling();
        weave(40);
        for (int i = 0; i < 15; i++) {
            press(0xBD);
            harness_frames_60(2);
        }
        weave(12);
        break;
    case SCRIPT_BOXES_TOGGLED:
        to_falling();
        harness_frames_60(200);
        press(0x52);
        weave(2);
        press(0x52);
        harness_frames_60(60);
        break;
    case SCRIPT_FALL_120_FPS:
        harness_frames(3, 8);
        press(0x58);
        harness_frames(10, 8);
        press(0x58);
        harness_frames(3, 8);
        press(0x58);
        for (int i = 0; i < 120 * 20; i++) {
            if (i % 240 == 0) harness_key_down(0x41);
            if (i % 240 == 120) harness_key_up(0x41);
            if (i % 240 == 120) harness_key_down(0x44);
            if (i % 240 == 0 && i) harness_key_up(0x44);
            harness_frame(i % 2 ? 8 : 9);
        }
        break;
    case SCRIPT_DIVER_LEAVES:
        to_falling();
        hold(0x57, 60 * 14);
        harness_frames_60(120);
        break;
    default: break;
    }
    return harness_hash;
}

int64_t run_soak(int64_t frames, bool (*check)(void)) {
    harness_reset();
    to_falling();
    for (int64_t i = 0; i < frames; i++) {
        int64_t phase = i % 240;
        if (phase == 0) harness_key_down(0x41);
        if (phase == 60) harness_key_up(0x41);
        if (phase == 120) harness_key_down(0x44);
        if (phase == 180) harness_key_up(0x44);
        harness_frame(i % 3 == 1 ? 16 : 17);
        if (!check()) return i + 1;
    }
    return frames;
}
