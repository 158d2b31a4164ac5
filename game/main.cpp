// Entry point: start-up, then the frame loop until the window closes.
#include "game/startup.h"

int main(int, char **) { return run_game(); }
