// The CPU side of one full frame of the sprite renderer: 2048 instances
// (a background, sprites and text) pushed, then the draw.  GL calls go to
// empty stand-ins, so only the program's own work is timed.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "os/memory.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/sprite_frames.h"

static void GL_APIENTRY nop_viewport(GLint, GLint, GLsizei, GLsizei) {}
static void GL_APIENTRY nop_enum(GLenum) {}
static void GL_APIENTRY nop_enum4(GLenum, GLenum, GLenum, GLenum) {}
static void GL_APIENTRY nop_enum2(GLenum, GLenum) {}
static void GL_APIENTRY nop_bool(GLboolean) {}
static void GL_APIENTRY nop_double(GLdouble) {}
static void GL_APIENTRY nop_color(GLfloat, GLfloat, GLfloat, GLfloat) {}
static void GL_APIENTRY nop_bitfield(GLbitfield) {}
static void GL_APIENTRY nop_bind(GLenum, GLuint) {}
static void GL_APIENTRY nop_sub_data(GLenum, GLintptr, GLsizeiptr, const void *) {}
static GLenum GL_APIENTRY no_error() { return GL_NO_ERROR; }
static void GL_APIENTRY nop_uint(GLuint) {}
static void GL_APIENTRY nop_draw(GLenum, GLsizei, GLenum, const void *, GLsizei, GLuint) {}
static GLsync GL_APIENTRY fake_fence(GLenum, GLbitfield) { return (GLsync)(uintptr_t)1; }
static GLenum GL_APIENTRY signalled(GLsync, GLbitfield, GLuint64) { return GL_ALREADY_SIGNALED; }
static void GL_APIENTRY nop_delete_sync(GLsync) {}

static void install_stand_ins() {
    glViewport = nop_viewport;
    glEnable = nop_enum;
    glBlendFuncSeparate = nop_enum4;
    glBlendEquationSeparate = nop_enum2;
    glDepthMask = nop_bool;
    glClearDepth = nop_double;
    glClearColor = nop_color;
    glClear = nop_bitfield;
    glBindBuffer = nop_bind;
    glBufferSubData = nop_sub_data;
    glGetError = no_error;
    glBindVertexArray = nop_uint;
    glDrawElementsInstancedBaseInstance = nop_draw;
    glFenceSync = fake_fence;
    glClientWaitSync = signalled;
    glDeleteSync = nop_delete_sync;
}

int main() {
    install_stand_ins();
    arena_create(&temp_arena, 20000000);
    static Window window;
    window.client_size = Size2i{1280, 800};
    renderer.window = &window;
    u64 bytes = (u64)RENDERER_MAX_INSTANCES * RENDERER_INSTANCE_SEGMENTS * sizeof(SpriteInstance);
    renderer.instance_memory = (u8 *)malloc(bytes);
    renderer.instance_buffer = GlBuffer{1, 0, RENDERER_MAX_INSTANCES, sizeof(SpriteInstance), 1,
                                        renderer.instance_memory};
    renderer.index_buffer.count = 6;

    static Glyph glyphs[256];
    for (int c = 33; c < 127; c++) glyphs[c] = Glyph{(u16)(512 + (c % 16) * 16), (u16)((c / 16) * 16), 7, 11, 2};
    glyphs[(u8)' '] = Glyph{0, 0, 5, 0, 0};
    font_bigger = Font{glyphs, 16, 5, 0, 2};

    // 1847 sprites + the background + 200 text bytes (HUD and a message) = 2048.
    const int sprites = 1847;
    char message[160];
    memset(message, 'x', sizeof(message));
    for (int i = 15; i < (int)sizeof(message); i += 16) message[i] = ' ';
    const int hud_bytes = 40;  // "Depth: 123.456000\nSpeed 7.250000\nHope 55.0 %" less its two line feeds

    Camera camera = {{1280.0f, 800.0f}, 0.0f, 1.0f};
    const int warmup = 200, frames = 3000;
    std::vector<double> us;
    us.reserve(frames);
    u64 total_ms = 0;
    u32 pushed = 0;
    for (int f = 0; f < warmup + frames; f++) {
        auto start = std::chrono::steady_clock::now();
        arena_reset(&temp_arena);
        begin_frame();
        set_frame_uniforms(&camera, total_ms);
        renderer.instance_buffer.count = 0;
        push_rect(0, 0, 1024, 576, 1);
        for (int i = 0; i < sprites; i++) {
            const Sprite *sprite = &sprite_table[i % SPRITE_TABLE_ROWS];
            SpriteRect rect = sprite_frame_rect(sprite, total_ms);
            SpriteInstance *s = push_instance();
            memset(s, 0, 48);
            s->position[0] = (f32)(i % 1280);
            s->position[1] = (f32)((i * 7) % 800);
            s->size[0] = rect.w;
            s->size[1] = rect.h;
            s->anchor[0] = 0.5f;
            s->anchor[1] = 0.5f;
            s->rotation = (f32)i * 0.01f;
            memset(s->tint, 255, 4);
            s->tex_x = rect.x;
            s->tex_y = rect.y;
            s->tex_w = rect.w;
            s->tex_h = rect.h;
            s->layer = sprite->layer;
        }
        draw_hud(123.456, 7.25, 55.0);
        draw_text(100, 300, Str{(u64)(sizeof(message) - 0), message});
        pushed = renderer.instance_buffer.count;
        draw_instances();
        auto end = std::chrono::steady_clock::now();
        if (f >= warmup) us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        total_ms += 16;
    }
    std::sort(us.begin(), us.end());
    double sum = 0;
    for (double v : us) sum += v;
    printf("render frame, CPU side: %u instances pushed per frame (%d sprites, %d text bytes), %d frames\n", pushed,
           sprites + 1, hud_bytes + (int)sizeof(message), frames);
    printf("  mean %.1f us, median %.1f us, p99 %.1f us, min %.1f us per frame\n", sum / frames, us[frames / 2],
           us[frames * 99 / 100], us[0]);
    printf("result render_median_us %.1f\n", us[frames / 2]);
    printf("result render_p99_us %.1f\n", us[frames * 99 / 100]);
    return pushed == RENDERER_MAX_INSTANCES ? 0 : 1;
}
