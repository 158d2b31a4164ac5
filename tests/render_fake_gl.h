// Recording stand-ins for the GL entry points the renderer calls, so the
// renderer runs without a context.  install_fake_gl nulls every slot, then
// points the renderer's ones here.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "render/gl_functions.h"

struct FakeAttribute {
    GLint components = 0;
    GLenum type = 0;
    GLboolean normalized = 0;
    GLsizei stride = 0;
    uintptr_t offset = 0;
    GLuint divisor = 0;
    bool enabled = false;
};

struct FakeDraw {
    GLsizei index_count;
    GLsizei instance_count;
    GLuint base_instance;
};

struct FakeTexUpload {
    GLint x, y, layer;
    GLsizei width, height;
    std::vector<uint8_t> pixels;
};

struct FakeGl {
    std::vector<std::string> calls;        // every recorded call, in order
    std::vector<GLenum> pending_errors;    // what glGetError hands out, front first
    std::map<GLuint, std::vector<uint8_t>> buffer_storage;  // persistent buffers' memory
    std::map<GLuint, GLenum> bound_buffers;                 // target -> name (by target)
    std::vector<uint8_t> uniform_bytes;    // last glBufferSubData on GL_UNIFORM_BUFFER
    std::vector<uint8_t> array_bytes;      // last glBufferSubData on GL_ARRAY_BUFFER
    std::vector<std::string> shader_sources;  // what each glShaderSource was handed
    std::map<GLuint, FakeAttribute> attributes;
    std::vector<FakeDraw> draws;
    std::vector<FakeTexUpload> uploads;
    GLuint next_name = 1;
    bool compile_ok = true;
    bool link_ok = true;
    bool has_uniform_block = true;
    bool map_fails = false;
    int fence_timeouts = 0;  // glClientWaitSync reports a timeout this many times first
    std::string info_log = "0:1(1): error: syntax error";
    int halts = 0;
};

extern FakeGl fake_gl;

// Fresh state, every slot null, fakes installed, halts counted in fake_gl.halts.
void install_fake_gl();
// Every slot null.
void null_all_gl_slots();
// Restores the real halt and nulls every slot.
void remove_fake_gl();
// How many recorded calls start with prefix.
int fake_gl_count(const char *prefix);
// Index of the first recorded call starting with prefix at or after from, or -1.
int fake_gl_find(const char *prefix, int from = 0);
