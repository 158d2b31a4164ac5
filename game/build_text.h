// Which build this is, as written into recordings: the source commit and the system.
#pragma once

const char *game_build_text(void);
