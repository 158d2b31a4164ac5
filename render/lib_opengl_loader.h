// lib_opengl_loader: fills the OpenGL entry-point slots of render/gl_functions.h
// for the current context, and the error check that follows GL calls.
#pragma once

#include "os/types.h"
#include "render/gl_functions.h"

// The newest version whose entry points the slots cover.
#define GL_LOADER_MAX_MAJOR 4
#define GL_LOADER_MAX_MINOR 6

struct GlVersion {
    i32 major;
    i32 minor;
    i32 release;
    bool es;  // an OpenGL ES context (WebGL 2 reports ES 3.0)
};

// Parsed from GL_VERSION by load_gl_functions.
extern GlVersion gl_version;

// Looks up one entry point by name; null when there is none.
typedef void *(*GlProcLookup)(const char *name);

// Reads "major[.minor[.release]]" from the front of text, after an "OpenGL
// ES " that marks an ES context; the rest (vendor text) is ignored.  Numbers
// that do not fit leave major at 0.
GlVersion parse_gl_version(const char *text);
// major * 10000 + minor * 100 + release, or -1 when it does not fit.
i32 encode_gl_version(GlVersion v);

// Fills the slots of the current context through os_gl_get_proc_address and
// returns the encoded version (> 0), or -1 when there is no usable GL.  An ES
// context numbers its versions apart from the desktop's, so every slot is
// looked up for it, and the names it lacks stay null.
i32 load_gl_functions(void);
// The same with another lookup (the tests point the slots at fakes).
i32 load_gl_functions_with(GlProcLookup lookup);

// Drains the GL error queue; any error is logged by name and halts the thread.
void gl_check_errors(void);
// The log line for one GL error code.
const char *gl_error_line(GLenum code);
