// libFuzzer target for the dropped-file list: the input, split at each 0xFF
// byte, is the paths a window system reports (each copied into an allocation
// of exactly its length).  The delivered list must hold every path with "/"
// for "\", each ended by a NUL, and one NUL more after the last.
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "os/backend.h"
#include "os/memory.h"

static std::vector<Str> expected;
static bool delivered;

static void check_drop(WindowEvent *event) {
    if (event->kind != EVENT_DROP) return;
    delivered = true;
    if (event->drop.count != expected.size()) abort();
    const char *p = event->drop.paths;
    for (const Str &path : expected) {
        for (u64 i = 0; i < path.len; i++)
            if (p[i] != (path.data[i] == '\\' ? '/' : path.data[i])) abort();
        if (p[path.len] != 0) abort();
        p += path.len + 1;
    }
    if (*p != 0) abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static Window window;
    os_set_event_callback(check_drop);
    expected.clear();
    size_t start = 0;
    for (size_t i = 0; i <= size; i++) {
        if (i < size && data[i] != 0xFF) continue;
        size_t len = i - start;
        char *copy = (char *)malloc(len ? len : 1);
        memcpy(copy, data + start, len);
        expected.push_back(Str{len, copy});
        start = i + 1;
    }
    delivered = false;
    window_drop(&window, Vec2i{0, 0}, expected.data(), (u32)expected.size());
    if (!delivered) abort();
    for (Str &path : expected) free((void *)path.data);
    return 0;
}
