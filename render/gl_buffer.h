// One GL buffer object and the memory the program writes it through.
#pragma once

#include "os/types.h"
#include "render/gl_functions.h"

enum : u32 { GL_BUFFER_PERSISTENT = 0x1 };

struct GlBuffer {
    u32 flags;
    u32 count;     // elements in use
    u32 capacity;  // elements the program may use
    u32 stride;    // bytes per element
    u32 name;
    void *data;    // the persistent mapping, or a CPU copy; null when neither could be had
};

// Creates the buffer, bound to target afterwards.  A persistent buffer is
// mapped coherently for reading and writing (usage is then not used); any
// other buffer keeps a CPU copy of its contents.
void create_gl_buffer(GLenum target, GlBuffer *buffer, u32 stride, u32 capacity, const void *initial_data,
                      GLenum usage, bool persistent);
