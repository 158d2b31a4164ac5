#include <string.h>

#include "os/memory.h"
#include "render/gl_buffer.h"
#include "render/lib_opengl_loader.h"

#define PERSISTENT_STORAGE_FLAGS \
    (GL_MAP_READ_BIT | GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT | GL_DYNAMIC_STORAGE_BIT)
#define PERSISTENT_MAP_FLAGS (GL_MAP_READ_BIT | GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT)

void create_gl_buffer(GLenum target, GlBuffer *buffer, u32 stride, u32 capacity, const void *initial_data,
                      GLenum usage, bool persistent) {
    glGenBuffers(1, &buffer->name);
    glBindBuffer(target, buffer->name);
    gl_check_errors();
    buffer->stride = stride;
    buffer->capacity = capacity;
    u64 size = (u64)stride * capacity;
    if (persistent) {
        buffer->flags |= GL_BUFFER_PERSISTENT;
        glBufferStorage(target, (GLsizeiptr)size, initial_data, PERSISTENT_STORAGE_FLAGS);
        gl_check_errors();
        buffer->data = glMapBufferRange(target, 0, (GLsizeiptr)size, PERSISTENT_MAP_FLAGS);
        gl_check_errors();
        if (initial_data) {
            buffer->count = capacity;
            if (buffer->data) memcpy(buffer->data, initial_data, size);
        }
        return;
    }
    buffer->data = os_alloc(size);
    if (initial_data) {
        buffer->count = capacity;
        if (buffer->data) memcpy(buffer->data, initial_data, size);
    }
    glBufferData(target, (GLsizeiptr)size, initial_data, usage);
    gl_check_errors();
}
