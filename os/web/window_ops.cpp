// Window operations on the canvas, cursors through CSS and the software
// framebuffer drawn on a 2D canvas context.
#include <emscripten.h>
#include <emscripten/html5.h>
#include <string.h>

#include "os/backend.h"
#include "os/web/web_shared.h"

void backend_show_window(Window *, bool show) {
    EM_ASM({ if (Module.canvas) Module.canvas.style.visibility = $0 ? 'visible' : 'hidden'; }, show);
}

// A page is never minimised by a program.
void backend_minimise_window(Window *, bool) {}

void backend_focus_window(Window *) { EM_ASM(if (Module.canvas) Module.canvas.focus();); }

// The canvas stays on the page; the record closes at once.
void backend_destroy_window(Window *window) { window_close(window, false); }

// The tab cannot be flashed; the title is what shows in it already.
void backend_flash_window(Window *) {}

// The canvas is laid out by the page: only its size is the program's.
void backend_move_outer(Window *window, Rect32 outer) {
    web_size_canvas(Size2i{outer.width, outer.height});
    Size2i old = window->client_size;
    backend_read_geometry(window);
    if (window->client_size.width != old.width || window->client_size.height != old.height)
        window_resized(window, window->client_size.width, window->client_size.height);
}

// Fullscreen is the page's own: its stage (the canvas and its messages) over
// the whole screen, the canvas scaled there by the page with its aspect kept,
// so the program's client area stays as it is.  The browser grants it only
// soon after a key press or click, and refuses it silently otherwise.
void backend_enter_fullscreen(Window *, Rect32) {
    EM_ASM({
        var stage = document.getElementById('stage') || Module.canvas;
        if (stage && stage.requestFullscreen && document.fullscreenElement !== stage)
            stage.requestFullscreen().catch(function () {});
    });
}

void backend_leave_fullscreen(Window *, Rect32, Rect32) {
    EM_ASM({
        if (document.fullscreenElement && document.exitFullscreen) document.exitFullscreen().catch(function () {});
    });
}

// The canvas has no border and nothing to stay above.
void backend_apply_border(Window *, Vec2i, Vec2i, Size2i) {}
void backend_apply_topmost(Window *, bool) {}

// The icon becomes the page's favicon.
bool backend_set_window_icon(Window *, const u8 *rgba, i32 width, i32 height) {
    return EM_ASM_INT({
        var c = document.createElement('canvas');
        c.width = $1;
        c.height = $2;
        var g = c.getContext('2d');
        if (!g) return 0;
        var image = g.createImageData($1, $2);
        image.data.set(HEAPU8.subarray($0, $0 + $1 * $2 * 4));
        g.putImageData(image, 0, 0);
        var link = document.querySelector('link[rel=icon]') || document.createElement('link');
        link.rel = 'icon';
        link.href = c.toDataURL('image/png');
        document.head.appendChild(link);
        return 1;
    }, rgba, width, height) != 0;
}

static const char *const CSS_CURSORS[CURSOR_SYSTEM_COUNT] = {
    "none",      "default",   "pointer",   "wait",        "text",        "crosshair", "not-allowed",
    "help",      "move",      "ew-resize", "ns-resize",   "nwse-resize", "nesw-resize",
};

void *backend_system_cursor(u8 index) {
    if (index == 0 || index >= CURSOR_SYSTEM_COUNT) return nullptr;
    return (void *)CSS_CURSORS[index];
}

static const char *shown_cursor = "default";
static bool cursor_hidden;

static void apply_cursor(void) {
    const char *css = cursor_hidden ? "none" : shown_cursor;
    EM_ASM({ if (Module.canvas) Module.canvas.style.cursor = UTF8ToString($0); }, css);
}

// The frame loop sets the arrow every frame; the page is only told on a change.
void backend_set_cursor(void *cursor) {
    const char *css = cursor ? (const char *)cursor : CSS_CURSORS[0];
    if (strcmp(css, shown_cursor) == 0) return;
    shown_cursor = css;
    apply_cursor();
}

// A page reads no cursor files.
void *backend_load_cursor_file(Str) { return nullptr; }

void backend_show_cursor(bool show) {
    if (cursor_hidden == !show) return;
    cursor_hidden = !show;
    apply_cursor();
}

// Bytes blue, green, red, unused, as the framebuffer holds them, drawn at the
// canvas's size.  A canvas that holds a GL context has no 2D context: nothing
// is drawn.
EM_JS(void, web_put_pixels, (const u32 *pixels, int width, int height, int x, int y, int w, int h, int stretch), {
    var canvas = Module.canvas;
    var g = canvas && canvas.getContext('2d');
    if (!g) return;
    var image = g.createImageData(w, h);
    var out = image.data;
    for (var row = 0; row < h; row++) {
        var from = (pixels >> 2) + (y + row) * width + x;
        for (var col = 0; col < w; col++) {
            var p = HEAPU32[from + col];
            var o = (row * w + col) * 4;
            out[o] = (p >> 16) & 255;
            out[o + 1] = (p >> 8) & 255;
            out[o + 2] = p & 255;
            out[o + 3] = 255;
        }
    }
    if (!stretch) {
        g.putImageData(image, x, y);
        return;
    }
    var c = document.createElement('canvas');
    c.width = w;
    c.height = h;
    c.getContext('2d').putImageData(image, 0, 0);
    g.imageSmoothingEnabled = false;
    g.drawImage(c, 0, 0, canvas.width, canvas.height);
});

void backend_present_framebuffer(Window *window) {
    Size2i size = window->framebuffer_size;
    if (size.width <= 0 || size.height <= 0 || !window->framebuffer_pixels) return;
    web_put_pixels(window->framebuffer_pixels, size.width, size.height, 0, 0, size.width, size.height, 1);
}

void backend_present_framebuffer_rect(Window *window, Rect32 rect) {
    Size2i size = window->framebuffer_size;
    if (!window->framebuffer_pixels) return;
    // Only what both the framebuffer and the rectangle hold is shown.
    i32 x0 = rect.x > 0 ? rect.x : 0, y0 = rect.y > 0 ? rect.y : 0;
    i64 x1 = (i64)rect.x + rect.width, y1 = (i64)rect.y + rect.height;
    if (x1 > size.width) x1 = size.width;
    if (y1 > size.height) y1 = size.height;
    if (x1 <= x0 || y1 <= y0) return;
    web_put_pixels(window->framebuffer_pixels, size.width, size.height, x0, y0, (i32)(x1 - x0), (i32)(y1 - y0), 0);
}
