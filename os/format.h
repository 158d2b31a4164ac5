// stb_sprintf, configured the one way the whole program uses it: callback mode
// with chunks of 1024 bytes.
#pragma once

#define STB_SPRINTF_MIN 1024
#define STB_SPRINTF_DECORATE(name) stbsp_##name
#include <stb/stb_sprintf.h>
