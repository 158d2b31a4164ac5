// An overview picture of every sprite row with its number.
#pragma once

#include "sheet.h"

Canvas draw_contact_sheet(const Canvas *sprites, const Canvas *backgrounds, const Fonts *fonts);
