// The renderer's one shader program, built from two GLSL files beside the executable.
#pragma once

#include "os/types.h"
#include "render/gl_functions.h"

// Binding point of the frame-wide uniform block global_info_block.
#define SHADER_UNIFORM_BINDING 1
// Bytes of a compile or link info log that are read and logged.
#define SHADER_INFO_LOG_SIZE 2048

struct ShaderProgram {
    u32 program;
    u32 vertex_shader;
    Str vertex_path;  // relative to the executable's directory
    u32 fragment_shader;
    Str fragment_path;
};

// The shader name, or 0 (the info log is logged) when the source does not compile.
u32 compile_shader(GLenum type, Str source);
// The program name, or 0 (the info log is logged) when it does not link.
u32 link_program(u32 vertex_shader, u32 fragment_shader);
// The source for an OpenGL ES 3.0 context (WebGL 2): its first line (the
// desktop #version line) becomes "#version 300 es" with default precisions
// after it; the rest is kept byte for byte.  Allocated in the frame arena;
// empty when the source has no #version line first.
Str shader_source_for_es(Str source);
// Reads, compiles and links both sources (made ES sources on an ES context) and binds the program's
// global_info_block to the uniform buffer.  On any failure the record keeps
// what it held and false is returned; the renderer then draws with program 0.
bool build_shader_program(ShaderProgram *shader, u32 uniform_buffer);
