#include "game/build_text.h"

// The build system passes the commit it configured from.
#ifndef FATHOMER_COMMIT
#define FATHOMER_COMMIT "unknown"
#endif

#if defined(_WIN32)
#define BUILD_SYSTEM "windows"
#elif defined(__EMSCRIPTEN__)
#define BUILD_SYSTEM "web"
#else
#define BUILD_SYSTEM "linux"
#endif

const char *game_build_text(void) { return FATHOMER_COMMIT " " BUILD_SYSTEM; }
