// Plays the game through the demo's script of key presses on a clock of its
// own: every frame is exactly 1/60 s of game time however long it takes to
// draw, so each screenshot shows the same moment on every system.  The
// script is the full one of tools/game_demo/demo_script.txt, which
// tools/demo.sh plays in real time from outside.
// Usage: fathomer_demo OUT_DIR [SHOTS]  (SHOTS: stop after that many)
// DEMO_WINDOW=fitted lets start-up fit the window to a small screen, as the
// game does; otherwise the client stays 1280 x 800 wherever it plays.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "game/draw.h"
#include "game/frame_clock.h"
#include "game/frame_step.h"
#include "game/keys.h"
#include "game/startup.h"
#include "os/audio.h"
#include "os/clock.h"
#include "os/files.h"
#include "os/gl_context.h"
#include "os/input.h"
#include "os/log.h"
#include "render/gl_functions.h"
#include "tools/png_writer.h"

// A key event, or with name set a screenshot, at a time of the script.
struct DemoStep {
    u32 at_ms;
    u8 action;
    u16 key;
    std::string name;
};

// The script's pieces: a press is down and up at once, several presses are
// 120 ms apart; a hold keeps the key down.
struct DemoScript {
    std::vector<DemoStep> steps;
    u32 now;
};

static void wait(DemoScript *s, u32 ms) { s->now += ms; }
static void press(DemoScript *s, u16 key, u32 count) {
    for (u32 i = 0; i < count; i++) {
        if (i) s->now += 120;
        s->steps.push_back({s->now, ACTION_DOWN, key, ""});
        s->steps.push_back({s->now, ACTION_UP, key, ""});
    }
}
static void hold(DemoScript *s, u16 key, u32 ms) {
    s->steps.push_back({s->now, ACTION_DOWN, key, ""});
    s->now += ms;
    s->steps.push_back({s->now, ACTION_UP, key, ""});
}

// The full script of tools/game_demo/demo_script.txt, which the build puts
// beside the player; false, with the line named, when a line is not a step.
static bool read_demo_script(DemoScript *s) {
    std::string path = std::string((const char *)os_get_exe_dir().data) + "demo_script.txt";
    FileData file = os_read_entire_file(str_from_cstr(path.c_str()));
    if (!file.data) {
        log_printf("Cannot read %s\n", path.c_str());
        return false;
    }
    std::string text((const char *)file.data, file.size);
    os_free_file_data(&file);
    bool in_full = false, ok = true;
    size_t at = 0;
    for (int line_number = 1; ok && at < text.size(); line_number++) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        char word[16] = {}, name[64] = {};
        unsigned number = 1;
        int fields = sscanf(line.c_str(), "%15s %63s %u", word, name, &number);
        if (fields <= 0 || word[0] == '#') continue;
        std::string w = word;
        if (w == "script") {
            in_full = strcmp(name, "full") == 0;
            continue;
        }
        if (!in_full) continue;
        u16 key = game_key_named(name);
        if (w == "wait" && fields == 2) wait(s, (u32)atoi(name));
        else if (w == "shot" && fields == 2) s->steps.push_back({s->now, 0, 0, name});
        else if (w == "press" && key && fields >= 2) press(s, key, number);
        else if (w == "hold" && key && fields == 3) hold(s, key, number);
        else ok = false;
        if (!ok) log_printf("%s:%d: not a step: %s\n", path.c_str(), line_number, line.c_str());
    }
    return ok && !s->steps.empty();
}

static void send_key(u8 action, u16 key) {
    WindowEvent e = {};
    e.kind = EVENT_KEY;
    e.window = main_window;
    e.key.action = action;
    e.key.key = key;
    handle_input_event(&e);
}

// The frame just drawn, read back before it is presented.
static bool save_frame(const std::string &path) {
    Size2i drawable = os_gl_drawable_size(main_window);
    i32 w = drawable.width;
    i32 h = drawable.height;
    std::vector<u8> pixels((size_t)w * (size_t)h * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
    stbi_flip_vertically_on_write(1);
    return stbi_write_png(path.c_str(), w, h, 4, pixels.data(), w * 4) != 0;
}

// The player's state between the frame step's hooks.
struct DemoRun {
    DemoScript script;
    std::string out;
    u64 frame;
    size_t next;
    std::vector<const char *> due_shots;
    int shots, failed;
};

static DemoRun run;

// Steps go in the script's order: keys reach the first frame after their
// time, a shot is the first frame at its time, and keys after a shot wait for
// the next frame (the picture comes before the press).
static void send_due_keys(void) {
    u64 now_ms = run.frame * 1000 / 60;
    run.due_shots.clear();
    while (run.next < run.script.steps.size()) {
        const DemoStep &step = run.script.steps[run.next];
        if (!step.name.empty()) {
            if (step.at_ms > now_ms) break;
            run.due_shots.push_back(step.name.c_str());
        } else {
            if (step.at_ms >= now_ms || !run.due_shots.empty()) break;
            send_key(step.action, step.key);
        }
        run.next++;
    }
    // Only the frames that are pictured reach GL: the game's state never
    // depends on drawing, and rasterising every frame was most of the time.
    draw_headless = run.due_shots.empty();
}

static void save_due_shots(void) {
    for (const char *name : run.due_shots) {
        std::string path = run.out + name + ".png";
        if (save_frame(path)) {
            log_printf("Screenshot %s\n", path.c_str());
        } else {
            log_printf("Could not write %s\n", path.c_str());
            run.failed++;
        }
        run.shots++;
    }
}

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: fathomer_demo OUT_DIR [SHOTS]\n");
        return 2;
    }
    run.out = argv[1];
    if (!run.out.empty() && run.out.back() != '/') run.out += '/';
    int max_shots = argc > 2 ? atoi(argv[2]) : 1 << 30;
    if (max_shots <= 0) {
        fprintf(stderr, "fathomer_demo: SHOTS must be a positive count\n");
        return 2;
    }

    if (!read_demo_script(&run.script)) return 2;
    const char *window_mode = getenv("DEMO_WINDOW");
    startup_fits_window = window_mode && strcmp(window_mode, "fitted") == 0;
    int rc = main_init(nullptr);
    if (rc) return rc;
    FrameHooks hooks = {};
    hooks.input = send_due_keys;
    hooks.end = save_due_shots;
    const u64 start = frame_clock.frame_start_ticks;
    for (run.frame = 1; run.next < run.script.steps.size() && run.shots < max_shots; run.frame++) {
        // Exact tick counts: the microseconds per frame then come out the same
        // for every counter frequency.
        if (!frame_step(&hooks, main_window, start + run.frame * os_counter_frequency / 60)) {
            log_printf("The window closed before the script ended\n");
            os_shutdown_audio();
            return 1;
        }
    }
    // As the game does once its window has closed: no sound left playing into
    // the process's exit.
    os_shutdown_audio();
    return run.failed ? 1 : 0;
}
