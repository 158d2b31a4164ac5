#pragma once

// Runs main_init and the frame loop; the process exit code.
int run_game(void);
int main_init(void);
