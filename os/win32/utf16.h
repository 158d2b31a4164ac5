// UTF-8 <-> UTF-16 at the Windows boundary.  Text is UTF-8 everywhere else.
#pragma once

#include <wchar.h>

#include "os/types.h"

// Converts text into out, which has room for out_units units including the
// terminating NUL.  Text that does not fit is cut at a whole code point.
// Returns the units written, NUL not counted; out is always terminated.
int os_utf16_from_utf8(Str text, wchar_t *out, int out_units);

// A NUL-terminated heap copy (os_free); null when the text cannot be converted
// or memory runs out.  Embedded NULs are kept.
wchar_t *os_utf16_from_utf8_alloc(Str text);

// units < 0: text is NUL-terminated.  A NUL-terminated heap Str (os_free the
// data); {0, null} on failure, {0, ""} on the heap for empty text.
Str os_utf8_from_utf16(const wchar_t *text, int units);
