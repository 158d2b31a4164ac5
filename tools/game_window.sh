# Sourced by the scripts that drive the game from outside.
#   wait_for_game_window SECONDS   sets window to the id of the game's shown
#                                  window, or fails once SECONDS have passed
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
