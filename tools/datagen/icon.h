// The program's icon: the diver's helmet in the deep, at the sizes Windows shows.
#pragma once

// Writes an .ico file holding PNG images of 256, 48, 32 and 16 pixels.
bool write_icon(const char *path);
