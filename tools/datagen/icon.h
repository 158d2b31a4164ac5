// The program's icon: the diver's helmet in the deep, at the sizes Windows shows.
#pragma once

// Writes an .ico file holding PNG images of 256, 48, 32 and 16 pixels.
bool write_icon(const char *path);
// Writes the .ico's 256-pixel image alone as a PNG file, for the systems
// whose programs give their windows an icon from pixels.
bool write_icon_png(const char *path);
