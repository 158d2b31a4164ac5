// The game's view of the input table.
#pragma once

#include "os/types.h"

bool key_pressed(u16 key);
bool key_held(u16 key);
// Clears the press so nothing else in the same frame acts on it again.
void key_consume_press(u16 key);
