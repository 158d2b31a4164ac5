// Start-up and the frame loop.
#include "game/startup.h"
#include "game/startup_banner.h"
#include "os/log.h"
#include "os/memory.h"

int main_init(void) {
    log_startup_banner();
    arena_create(&temp_arena, 20000000);
    return 0;
}

int run_game(void) {
    int rc = main_init();
    if (rc) return rc;
    return 0;
}
