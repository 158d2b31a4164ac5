#include <string.h>

#include "os/gl_context.h"
#include "os/log.h"
#include "render/lib_opengl_loader.h"

GlVersion gl_version;

static i32 parse_number(const char **p) {
    i32 value = 0;
    while (**p >= '0' && **p <= '9') {
        i32 digit = **p - '0';
        if (value > (INT32_MAX - digit) / 10) return -1;
        value = value * 10 + digit;
        (*p)++;
    }
    return value;
}

GlVersion parse_gl_version(const char *text) {
    GlVersion v = {0, 0, 0, false};
    static const char ES_PREFIX[] = "OpenGL ES ";
    bool es = strncmp(text, ES_PREFIX, sizeof(ES_PREFIX) - 1) == 0;
    const char *p = es ? text + sizeof(ES_PREFIX) - 1 : text;
    i32 major = parse_number(&p);
    i32 minor = 0, release = 0;
    if (*p == '.') {
        p++;
        minor = parse_number(&p);
        if (*p == '.') {
            p++;
            release = parse_number(&p);
        }
    }
    if (major < 0 || minor < 0 || release < 0) return v;
    v.major = major;
    v.minor = minor;
    v.release = release;
    v.es = es;
    return v;
}

i32 encode_gl_version(GlVersion v) {
    i64 code = (i64)v.major * 10000 + (i64)v.minor * 100 + v.release;
    return code > INT32_MAX ? -1 : (i32)code;
}

static void load_entries(GlProcLookup lookup, int first, int count) {
    for (int i = first; i < first + count; i++) {
        void *proc = lookup(gl_entries[i].name);
        // The slot is a function pointer; copying its bytes avoids the cast.
        memcpy(gl_entries[i].slot, &proc, sizeof(proc));
    }
}

// After a group is loaded: is the context's version covered?  The last group
// of a major version also covers every higher minor of that major.
static bool group_covers(const GlEntryGroup *g, bool last_of_major) {
    if (gl_version.major != g->major) return gl_version.major < g->major;
    return last_of_major || gl_version.minor <= g->minor;
}

i32 load_gl_functions_with(GlProcLookup lookup) {
    gl_version = GlVersion{0, 0, 0, false};
    load_entries(lookup, 0, GL_BASE_ENTRY_COUNT);
    if (!glGetString) return -1;
    const GLubyte *text = glGetString(GL_VERSION);
    if (!text) return -1;
    gl_version = parse_gl_version((const char *)text);

    load_entries(lookup, GL_EARLY_ENTRY_FIRST, GL_EARLY_ENTRY_COUNT);
    if (gl_version.major <= 0) return -1;
    i32 encoded = encode_gl_version(gl_version);
    if (encoded <= 0) return -1;

    for (int i = 0; i < GL_VERSION_GROUP_COUNT; i++) {
        const GlEntryGroup *g = &gl_version_groups[i];
        load_entries(lookup, g->first, g->count);
        bool last = i + 1 == GL_VERSION_GROUP_COUNT || gl_version_groups[i + 1].major != g->major;
        if (i + 1 < GL_VERSION_GROUP_COUNT && !gl_version.es && group_covers(g, last)) return encoded;
    }
    if (gl_version.es) return encoded;
    if (gl_version.major > GL_LOADER_MAX_MAJOR || gl_version.minor > GL_LOADER_MAX_MINOR) {
        log_printf("OpenGL version (%i.%i) is higher than what is supported by lib_opengl_loader (4.6). "
                   "Some features may not be available.\n",
                   gl_version.major, gl_version.minor);
    }
    return encoded;
}

i32 load_gl_functions(void) { return load_gl_functions_with(os_gl_get_proc_address); }

const char *gl_error_line(GLenum code) {
    switch (code) {
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM\n";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE\n";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION\n";
    case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW\n";
    case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW\n";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY\n";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION\n";
    case GL_CONTEXT_LOST: return "GL_CONTEXT_LOST\n";
    default: return "???\n";
    }
}

void gl_check_errors(void) {
    GLenum code = glGetError();
    if (code == GL_NO_ERROR) return;
    while (code != GL_NO_ERROR) {
        log_printf("%s", gl_error_line(code));
        code = glGetError();
    }
    os_halt();
}
