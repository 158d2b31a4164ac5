// Start-up and the frame loop.
#include "game/startup.h"
#include "os/log.h"
#include "os/memory.h"

int main_init(void) {
    log_printf("---------- START ----------\n");
    arena_create(&temp_arena, 20000000);
    return 0;
}

int run_game(void) {
    int rc = main_init();
    if (rc) return rc;
    return 0;
}
