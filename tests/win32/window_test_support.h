// The Windows tests that drive real windows: the shared support plus the
// system window behind a record.
#pragma once

#include <windows.h>

#include "tests/window_test_support.h"

inline HWND hwnd_of(Window *window) { return (HWND)window->hwnd; }
