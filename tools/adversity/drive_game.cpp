// Starts fathomer.exe from a directory and drives it by a script of steps,
// then checks that it exits with 0 once its window is closed.
//
//   drive_game.exe GAME_DIR STEP...
//
//   wait:MS          sleep
//   key:KEY          a press and release of one of the game's keys (X, A,
//                    PLUS: the names in game/keys.h), posted to its window
//   down:KEY  up:KEY one half of a press
// (each of these three returns once the game has taken it in a frame)
//   storm:N          N key messages posted at once (presses and releases of
//                    W, A, S and D, all released at the end)
//   stall:MS         the window's modal move loop, held MS, ended by Enter
//   stallclose:MS    the modal move loop, and after MS a close request inside it
//   focusout         another window takes the focus
//   focusin          the game's window takes it back
//   shot:N           keeps the client area's grey levels as picture N (0-7),
//                    also written to GAME_DIR/shotN.pgm
//   slower:A:B:C:D   fails unless what changed from C to D spans clearly fewer
//                    columns than what changed from A to B: the diver slowed
//   close            the close request; the game must exit with 0
//
// The game's output goes to GAME_DIR/game.log; how long its window took to
// show is printed.  Exit code 0 when every step held and the game exited with
// 0; otherwise 1, with the reason printed.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "game/keys.h"
#include "os/window.h"

static PROCESS_INFORMATION game;
static HWND game_window;
static const char *game_dir;

struct FindWindowFor {
    DWORD process;
    HWND found;
};

static BOOL CALLBACK match_window(HWND h, LPARAM context) {
    FindWindowFor *find = (FindWindowFor *)context;
    DWORD process = 0;
    GetWindowThreadProcessId(h, &process);
    wchar_t class_name[64];
    if (process == find->process && IsWindowVisible(h) && GetClassNameW(h, class_name, 64) &&
        wcscmp(class_name, L"" OS_WINDOW_CLASS_NAME) == 0) {
        find->found = h;
        return FALSE;
    }
    return TRUE;
}

static bool fail(const char *what, const char *detail) {
    printf("FAILED %s %s\n", what, detail);
    fflush(stdout);
    return false;
}

static void post_key(UINT vk, bool down) {
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    LPARAM l = 1 | (LPARAM)scan << 16;
    if (!down) l |= (LPARAM)3 << 30;
    PostMessageW(game_window, down ? WM_KEYDOWN : WM_KEYUP, vk, l);
}

static bool game_running(void) { return WaitForSingleObject(game.hProcess, 0) == WAIT_TIMEOUT; }

// Returns once the game's frame loop has pumped its messages twice, so that
// what was posted before has been taken in a frame of its own: two presses
// of a key in one frame would count as one.  Start-up pumps nothing.
static void wait_for_frames(void) {
    DWORD_PTR result;
    for (int i = 0; i < 2; i++) {
        SendMessageTimeoutW(game_window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
        Sleep(20);
    }
}

static bool in_move_loop(void) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(game.dwThreadId, &info) && (info.flags & GUI_INMOVESIZE);
}

// Starts a keyboard move of the game's window: the system's modal loop then
// runs until Enter, and the game's frame loop waits for it.  False when the
// loop did not start within 5 s (a loaded machine draws slowly).
static bool start_move_loop(void) {
    SetForegroundWindow(game_window);
    PostMessageW(game_window, WM_SYSCOMMAND, SC_MOVE, 0);
    for (int i = 0; i < 500; i++) {
        if (in_move_loop()) return true;
        Sleep(10);
    }
    return false;
}

// Pictures of the rows around the diver, grey levels, one byte a pixel.
#define SHOT_TOP 0
#define SHOT_ROWS 800
#define SHOT_WIDTH 1280
static std::vector<unsigned char> shots[8];

static bool take_shot(int slot) {
    POINT origin = {0, SHOT_TOP};
    ClientToScreen(game_window, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = SHOT_WIDTH;
    info.bmiHeader.biHeight = -SHOT_ROWS;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = bitmap && bits;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, SHOT_WIDTH, SHOT_ROWS, screen, origin.x, origin.y, SRCCOPY);
        SelectObject(memory, old);
        GdiFlush();
        shots[slot].resize(SHOT_WIDTH * SHOT_ROWS);
        const unsigned char *p = (const unsigned char *)bits;
        for (int i = 0; i < SHOT_WIDTH * SHOT_ROWS; i++) shots[slot][i] = (unsigned char)((p[4 * i] + p[4 * i + 1] * 2 + p[4 * i + 2]) / 4);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

// Columns between the first and the last one where the two pictures differ
// noticeably; 0 when they do not.
static int changed_span(int a, int b) {
    if (shots[a].empty() || shots[b].empty()) return -1;
    int first = -1, last = -1;
    for (int x = 0; x < SHOT_WIDTH; x++) {
        int changed = 0;
        for (int y = 0; y < SHOT_ROWS; y++) {
            int d = shots[a][y * SHOT_WIDTH + x] - shots[b][y * SHOT_WIDTH + x];
            if (d > 24 || d < -24) changed++;
        }
        if (changed >= 3) {
            if (first < 0) first = x;
            last = x;
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

static HWND other_window;

// The game's key that a step such as "key:X" names after its prefix, or 0.
static int key_of(const char *step, const char *prefix) {
    size_t n = strlen(prefix);
    return strncmp(step, prefix, n) == 0 ? game_key_named(step + n) : 0;
}

static bool run_step(const char *step) {
    if (!game_running()) return fail("the game ended before", step);
    int a = 0, b = 0, c = 0, d = 0;
    if (sscanf(step, "wait:%d", &a) == 1) {
        Sleep(a);
    } else if ((a = key_of(step, "key:")) != 0) {
        post_key(a, true);
        post_key(a, false);
        wait_for_frames();
    } else if ((a = key_of(step, "down:")) != 0) {
        post_key(a, true);
        wait_for_frames();
    } else if ((a = key_of(step, "up:")) != 0) {
        post_key(a, false);
        wait_for_frames();
    } else if (sscanf(step, "storm:%d", &a) == 1) {
        const UINT keys[4] = {KEY_W, KEY_A, KEY_S, KEY_D};
        for (int i = 0; i < a; i++) post_key(keys[(i / 2) % 4], i % 2 == 0);
        for (UINT k : keys) post_key(k, false);
        wait_for_frames();
    } else if (sscanf(step, "stall:%d", &a) == 1) {
        if (!start_move_loop()) return fail("no modal move loop at", step);
        Sleep(a);
        post_key(VK_RETURN, true);
        post_key(VK_RETURN, false);
        for (int i = 0; i < 100 && in_move_loop(); i++) Sleep(10);
        if (in_move_loop()) return fail("Enter did not end the move loop at", step);
    } else if (sscanf(step, "stallclose:%d", &a) == 1) {
        if (!start_move_loop()) return fail("no modal move loop at", step);
        Sleep(a);
        PostMessageW(game_window, WM_CLOSE, 0, 0);
    } else if (strcmp(step, "focusout") == 0) {
        if (!other_window)
            other_window = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                           nullptr, nullptr, nullptr, nullptr);
        ShowWindow(other_window, SW_SHOW);
        SetForegroundWindow(other_window);
        SetFocus(other_window);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    } else if (strcmp(step, "focusin") == 0) {
        SetForegroundWindow(game_window);
    } else if (sscanf(step, "shot:%d", &a) == 1 && a >= 0 && a < 8) {
        if (!take_shot(a)) return fail("could not read the screen at", step);
        long sum = 0;
        for (unsigned char v : shots[a]) sum += v;
        printf("picture %d: mean grey %ld\n", a, sum / (long)shots[a].size());
        // Kept beside the game's log for a look when a check fails.
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%s\\shot%d.pgm", game_dir, a);
        if (FILE *f = fopen(name, "wb")) {
            fprintf(f, "P5 %d %d 255\n", SHOT_WIDTH, SHOT_ROWS);
            fwrite(shots[a].data(), 1, shots[a].size(), f);
            fclose(f);
        }
    } else if (sscanf(step, "slower:%d:%d:%d:%d", &a, &b, &c, &d) == 4 && a >= 0 && a < 8 && b >= 0 && b < 8 &&
               c >= 0 && c < 8 && d >= 0 && d < 8) {
        int before = changed_span(a, b), later = changed_span(c, d);
        printf("changed columns: %d, later %d\n", before, later);
        if (before < 0 || later < 0) return fail("no pictures for", step);
        if (later + 16 > before) return fail("the diver did not slow down by", step);
    } else if (strcmp(step, "close") == 0) {
        PostMessageW(game_window, WM_CLOSE, 0, 0);
    } else {
        return fail("unknown step", step);
    }
    return true;
}

int main(int argc, char **argv) {
    if (argc < 3) {
        printf("usage: drive_game.exe GAME_DIR STEP...\n");
        return 2;
    }
    game_dir = argv[1];
    char exe[MAX_PATH], log_path[MAX_PATH];
    snprintf(exe, sizeof exe, "%s\\fathomer.exe", argv[1]);
    snprintf(log_path, sizeof log_path, "%s\\game.log", argv[1]);
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE log = CreateFileA(log_path, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = log;
    si.hStdError = log;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    if (!CreateProcessA(exe, nullptr, nullptr, nullptr, TRUE, 0, nullptr, argv[1], &si, &game)) {
        printf("FAILED could not start %s\n", exe);
        return 1;
    }
    CloseHandle(log);
    // The window shows once start-up has loaded everything: half a second for
    // a game alone, over 7 s for each of seventeen starting at once beside the
    // other test suites.
    FindWindowFor find = {game.dwProcessId, nullptr};
    DWORD started = GetTickCount();
    while (!find.found && game_running() && GetTickCount() - started < 60000) {
        EnumWindows(match_window, (LPARAM)&find);
        if (!find.found) Sleep(20);
    }
    game_window = find.found;
    bool ok = game_window != nullptr || fail("no window within 60 s from", exe);
    if (ok) printf("window after %lu ms\n", (unsigned long)(GetTickCount() - started));
    if (ok) wait_for_frames();
    bool closed = false;
    for (int i = 2; ok && i < argc; i++) {
        ok = run_step(argv[i]);
        if (strcmp(argv[i], "close") == 0 || strncmp(argv[i], "stallclose:", 11) == 0) closed = true;
    }
    if (ok && !closed) ok = fail("the script has no close", "");
    // A failed step leaves the game running: it is asked to close all the same.
    if (!ok || !closed) PostMessageW(game_window, WM_CLOSE, 0, 0);
    // Closing takes about two seconds under Wine without a window manager.
    DWORD waited = WaitForSingleObject(game.hProcess, 20000);
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(game.hProcess, 99);
        WaitForSingleObject(game.hProcess, 5000);
        ok = fail("the game did not end within 20 s of", "its close");
    }
    DWORD code = 99;
    GetExitCodeProcess(game.hProcess, &code);
    if (code != 0) {
        char detail[32];
        snprintf(detail, sizeof detail, "%lu", (unsigned long)code);
        ok = fail("the game's exit code was", detail);
    }
    if (other_window) DestroyWindow(other_window);
    return ok ? 0 : 1;
}
