# Sourced by the scripts that drive the game from outside.
#   wait_for_game_window SECONDS   sets window to the id of the game's shown
#                                  window, or fails once SECONDS have passed
#   wait_for_ready LOG PID         waits up to 60 s for start-up's "Ready:" line
#                                  in the game's LOG, or for PID to end
#   wait_for_end PID SECONDS       waits for PID to end; fails if it still runs
wait_for_game_window() {
    local tries=$(($1 * 10))
    window=""
    for _ in $(seq "$tries"); do
        window=$(xdotool search --onlyvisible --name '^Fathomer$' 2>/dev/null | head -n1)
        [[ -n "$window" ]] && return 0
        sleep 0.1
    done
    return 1
}

wait_for_ready() {
    for _ in $(seq 600); do
        grep -q "^Ready: " "$1" 2>/dev/null && return 0
        kill -0 "$2" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

wait_for_end() {
    for _ in $(seq $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    ! kill -0 "$1" 2>/dev/null
}
