#include <string.h>

#include "os/files.h"
#include "os/log.h"
#include "os/memory.h"
#include "render/lib_opengl_loader.h"
#include "render/shader.h"

static const char *shader_kind(GLenum type) { return type == GL_VERTEX_SHADER ? "vertex" : "fragment"; }

// The info log as read, with a line feed after it when it lacks one.
static void log_info_log(const char *text, GLsizei length) {
    if (length < 0) length = 0;
    if (length > SHADER_INFO_LOG_SIZE - 1) length = SHADER_INFO_LOG_SIZE - 1;
    bool ends_line = length > 0 && text[length - 1] == '\n';
    log_printf("%.*s%s", (int)length, text, ends_line ? "" : "\n");
}

u32 compile_shader(GLenum type, Str source) {
    if (source.len > INT32_MAX) return 0;
    GLuint shader = glCreateShader(type);
    const GLchar *text = source.data;
    GLint length = (GLint)source.len;
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok) return shader;
    char info[SHADER_INFO_LOG_SIZE];
    GLsizei info_length = 0;
    glGetShaderInfoLog(shader, sizeof(info), &info_length, info);
    LOG_TAG();
    log_printf("Compiling the %s shader failed:\n", shader_kind(type));
    log_info_log(info, info_length);
    glDeleteShader(shader);
    return 0;
}

u32 link_program(u32 vertex_shader, u32 fragment_shader) {
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex_shader);
    glAttachShader(program, fragment_shader);
    glLinkProgram(program);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok) return program;
    char info[SHADER_INFO_LOG_SIZE];
    GLsizei info_length = 0;
    glGetProgramInfoLog(program, sizeof(info), &info_length, info);
    LOG_TAG();
    log_printf("Linking the shader program failed:\n");
    log_info_log(info, info_length);
    glDeleteProgram(program);
    return 0;
}

static void delete_checked(u32 program, u32 vertex_shader, u32 fragment_shader) {
    if (program) {
        glDeleteProgram(program);
        gl_check_errors();
    }
    if (vertex_shader) {
        glDeleteShader(vertex_shader);
        gl_check_errors();
    }
    if (fragment_shader) {
        glDeleteShader(fragment_shader);
        gl_check_errors();
    }
}

static bool compile_and_link(ShaderProgram *shader, Str vertex_source, Str fragment_source, u32 uniform_buffer) {
    u32 vertex = compile_shader(GL_VERTEX_SHADER, vertex_source);
    if (!vertex) return false;
    u32 fragment = compile_shader(GL_FRAGMENT_SHADER, fragment_source);
    if (!fragment) {
        glDeleteShader(vertex);
        return false;
    }
    u32 program = link_program(vertex, fragment);
    if (!program) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return false;
    }
    GLuint block = glGetUniformBlockIndex(program, "global_info_block");
    if (block == GL_INVALID_INDEX) {
        LOG_TAG();
        log_printf("The shader program has no global_info_block\n");
        delete_checked(program, vertex, fragment);
        return false;
    }
    glUniformBlockBinding(program, block, SHADER_UNIFORM_BINDING);
    glBindBufferBase(GL_UNIFORM_BUFFER, SHADER_UNIFORM_BINDING, uniform_buffer);

    delete_checked(shader->program, shader->vertex_shader, shader->fragment_shader);
    shader->program = program;
    shader->vertex_shader = vertex;
    shader->fragment_shader = fragment;
    return true;
}

static FileData read_beside_exe(Str relative) {
    Str parts[] = {os_get_exe_dir(), relative, Str{0, nullptr}};
    Str path = arena_concat(&temp_arena, parts);
    FileData file = os_read_entire_file(path);
    if (!file.data) {
        LOG_TAG();
        log_printf("Cannot read the shader (%.*s)\n", (int)path.len, path.data);
    }
    return file;
}

// ES has no default float precision in fragment shaders and none for array
// samplers anywhere.
static const char ES_HEADER[] =
    "#version 300 es\n"
    "precision highp float;\n"
    "precision highp int;\n"
    "precision highp sampler2DArray;\n";

Str shader_source_for_es(Str source) {
    static const char VERSION[] = "#version";
    if (source.len < sizeof(VERSION) - 1 || memcmp(source.data, VERSION, sizeof(VERSION) - 1) != 0)
        return Str{0, nullptr};
    u64 line_end = 0;
    while (line_end < source.len && source.data[line_end] != '\n') line_end++;
    if (line_end < source.len) line_end++;
    Str parts[] = {STR(ES_HEADER), Str{source.len - line_end, source.data + line_end}, Str{0, nullptr}};
    return arena_concat(&temp_arena, parts);
}

static Str source_for_context(Str source) { return gl_version.es ? shader_source_for_es(source) : source; }

bool build_shader_program(ShaderProgram *shader, u32 uniform_buffer) {
    if (shader->vertex_path.len == 0 || shader->fragment_path.len == 0) return false;
    FileData vertex_file = read_beside_exe(shader->vertex_path);
    FileData fragment_file = vertex_file.data ? read_beside_exe(shader->fragment_path) : FileData{0, nullptr};
    bool built = false;
    if (vertex_file.data && fragment_file.data) {
        Str vertex = source_for_context(Str{vertex_file.size, (const char *)vertex_file.data});
        Str fragment = source_for_context(Str{fragment_file.size, (const char *)fragment_file.data});
        if (vertex.data && fragment.data) {
            built = compile_and_link(shader, vertex, fragment, uniform_buffer);
        } else {
            LOG_TAG();
            log_printf("The shaders have no #version line to make ES sources of\n");
        }
    }
    if (vertex_file.data) os_free_file_data(&vertex_file);
    if (fragment_file.data) os_free_file_data(&fragment_file);
    return built;
}
