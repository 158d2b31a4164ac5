// The sprite batch renderer: every quad of a frame is one instance of a unit
// quad, written into mapped GPU memory (or uploaded, where nothing can stay
// mapped) and drawn with one instanced call.
#pragma once

#include "os/types.h"
#include "os/window.h"
#include "render/camera.h"
#include "render/gl_buffer.h"
#include "render/shader.h"

#pragma pack(push, 1)
// One quad as the vertex shader receives it (one attribute per field, divisor 1).
struct SpriteInstance {
    f32 position[3];    // window pixels, y downward; z is 0
    f32 size[2];        // pixels
    f32 anchor[2];      // fraction of size that sits at position
    f32 rotation;       // radians, about the anchor
    u8 fill_color[4];   // RGBA; 0 for textured quads
    u8 tint[4];         // RGBA, multiplied with the texture
    u16 tex_x;          // texel rectangle from the top-left of the layer
    u16 tex_y;
    u16 tex_w;
    u16 tex_h;
    u8 layer;
};

struct QuadVertex {
    f32 position[3];
    f32 uv[2];
    f32 extra;
};

// The uniform block global_info_block, std140.
struct FrameUniforms {
    f32 camera_position[2];
    f32 view_size[2];  // width, -height
    f32 screen_size[2];
    f32 zoom[2];
    f32 camera_extra;
    f32 time_ms;
};
#pragma pack(pop)

static_assert(sizeof(SpriteInstance) == 49, "SpriteInstance is the 49-byte instance stride");
static_assert(offsetof(SpriteInstance, position) == 0, "");
static_assert(offsetof(SpriteInstance, size) == 12, "");
static_assert(offsetof(SpriteInstance, anchor) == 20, "");
static_assert(offsetof(SpriteInstance, rotation) == 28, "");
static_assert(offsetof(SpriteInstance, fill_color) == 32, "");
static_assert(offsetof(SpriteInstance, tint) == 36, "");
static_assert(offsetof(SpriteInstance, tex_x) == 40, "");
static_assert(offsetof(SpriteInstance, tex_y) == 42, "");
static_assert(offsetof(SpriteInstance, tex_w) == 44, "");
static_assert(offsetof(SpriteInstance, tex_h) == 46, "");
static_assert(offsetof(SpriteInstance, layer) == 48, "");
static_assert(sizeof(QuadVertex) == 24, "");
static_assert(offsetof(QuadVertex, uv) == 12, "");
static_assert(offsetof(QuadVertex, extra) == 20, "");
static_assert(sizeof(FrameUniforms) == 40, "");
static_assert(offsetof(FrameUniforms, view_size) == 8, "");
static_assert(offsetof(FrameUniforms, screen_size) == 16, "");
static_assert(offsetof(FrameUniforms, zoom) == 24, "");
static_assert(offsetof(FrameUniforms, camera_extra) == 32, "");
static_assert(offsetof(FrameUniforms, time_ms) == 36, "");

// Instances one frame can draw.
#define RENDERER_MAX_INSTANCES 2048
// The instance memory is a ring of this many frames' batches, each fenced, so
// the CPU never writes a batch the GPU may still be reading.
#define RENDERER_INSTANCE_SEGMENTS 3
// WebGL wants each attribute's stride a multiple of its type's size: the
// uploaded batch spaces the same 49-byte instances this far apart.
#define RENDERER_UPLOAD_STRIDE 52
// total_ms wraps here in the time uniform: the least common multiple of 1 to
// 17, below 2^24, so every value is exact in a float.
#define RENDERER_TIME_WRAP_MS 12252240u

struct Renderer {
    Window *window;  // its client size sets the viewport and the screen size
    // The size the frame is laid out in, shown letterboxed in the client
    // area (render/letterbox.h); {0, 0}: the client size itself.
    Size2i view_size;
    u32 uniform_buffer;
    u32 vertex_array;
    GlBuffer index_buffer;
    GlBuffer quad_buffer;
    // data points at the current segment; capacity is one frame's batch.
    GlBuffer instance_buffer;
    ShaderProgram shader;
    u8 *instance_memory;  // the whole mapping, null when it could not be mapped
    u8 *upload_memory;    // without a mapping: the batch spaced for the upload
    u32 segment;
    GLsync segment_fences[RENDERER_INSTANCE_SEGMENTS];
    // The batch the last draw_instances drew, left as it was in its segment.
    u32 drawn_segment;
    u32 drawn_count;
};

extern Renderer renderer;
// Where pushes past the batch's capacity go.
extern SpriteInstance scratch_instance;

// Whether the context can keep the instance memory mapped (desktop GL 4.4);
// else (OpenGL ES, WebGL 2) the batch lives in program memory and is
// uploaded once per frame, still drawn with one instanced call.
bool renderer_can_map_persistently(void);
// Builds the buffers, vertex state and shader program for the window's context.
void init_renderer(Window *window);
// Viewport, blending, depth state and the clear of one frame.
void begin_frame(void);
// Uploads the frame's uniform block; total_ms is the game clock.
void set_frame_uniforms(const Camera *camera, u64 total_ms);
// The next instance slot of this frame, or scratch_instance once the batch is
// full.  The caller writes every byte of it.
SpriteInstance *push_instance(void);
// The frame's laid-out size: view_size, or the client size where it is unset.
Size2i renderer_view_size(void);
// A quad over the whole view showing the given texture rectangle.
void push_rect(u16 tex_x, u16 tex_y, u16 tex_w, u16 tex_h, u8 layer);
// Draws the frame's instances in push order and starts an empty batch.
void draw_instances(void);
// The instances the last draw_instances drew, for a caller that shows the
// same picture again; valid until the next frame's pushes.  Null, with
// count 0, when nothing was drawn.
const SpriteInstance *renderer_drawn_batch(u32 *count);
