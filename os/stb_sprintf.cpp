// The one translation unit that compiles stb_sprintf's implementation.
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#define STB_SPRINTF_IMPLEMENTATION
#include "os/format.h"
