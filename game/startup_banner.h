#pragma once

// Starts the platform layer (os_init) and logs the start-up banner: the
// executable, its directory, the current directory, the command line, memory,
// processor count, one line per monitor, then the START line.
void log_startup_banner(void);
