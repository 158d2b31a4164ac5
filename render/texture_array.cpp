#include "os/log.h"
#include "os/memory.h"
#include "render/lib_opengl_loader.h"
#include "render/texture_array.h"

TextureArray texture_array;

void create_texture_array(void) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D_ARRAY, name);
    glTexImage3D(GL_TEXTURE_2D_ARRAY, 0, GL_RGBA, TEXTURE_ARRAY_SIZE, TEXTURE_ARRAY_SIZE, TEXTURE_ARRAY_LAYERS, 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    gl_check_errors();
    texture_array = TextureArray{name,
                                 TEXTURE_ARRAY_SIZE,
                                 TEXTURE_ARRAY_SIZE,
                                 TEXTURE_ARRAY_LAYERS,
                                 GL_NEAREST,
                                 GL_NEAREST,
                                 GL_CLAMP_TO_EDGE,
                                 GL_CLAMP_TO_EDGE,
                                 GL_CLAMP_TO_EDGE,
                                 GL_RGBA,
                                 GL_UNSIGNED_BYTE};
}

bool image_fits_texture_array(const Image *image, u32 x_offset, u32 layer) {
    return layer < TEXTURE_ARRAY_LAYERS && x_offset <= TEXTURE_ARRAY_SIZE &&
           image->width <= TEXTURE_ARRAY_SIZE - x_offset && image->height <= TEXTURE_ARRAY_SIZE;
}

bool upload_image(Image *image, u32 x_offset, u32 layer) {
    bool fits = image_fits_texture_array(image, x_offset, layer);
    if (!fits) {
        LOG_TAG();
        log_printf("Image %ix%i does not fit at x %i of layer %i: skipped\n", image->width, image->height, x_offset,
                   layer);
    } else {
        flip_image_rows(image);
        glBindTexture(GL_TEXTURE_2D_ARRAY, texture_array.name);
        glTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, (GLint)x_offset, (GLint)(TEXTURE_ARRAY_SIZE - image->height),
                        (GLint)layer, (GLsizei)image->width, (GLsizei)image->height, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                        image->pixels);
        gl_check_errors();
    }
    os_free(image->pixels);
    *image = Image{0, 0, nullptr, 0};
    return fits;
}
