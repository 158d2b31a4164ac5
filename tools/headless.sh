# Sourced by the test and run scripts: a virtual display with a window manager,
# a null sound card and a persistent Wine server, all private to this checkout's
# build/ tree, and stopped again by headless_stop (set as an EXIT trap by the
# callers).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
session_dir="$root/build/session"
export WINEPREFIX="$root/build/wineprefix"
# A screen size set before sourcing (HEADLESS_SCREEN=1024x768x24) wins over the file's.
headless_screen_asked=${HEADLESS_SCREEN:-}
set -a
source "$root/tools/test_environment.env"
set +a
[[ -z "$headless_screen_asked" ]] || HEADLESS_SCREEN=$headless_screen_asked
headless_pids=()
headless_wine_started=0
headless_private_prefix=""

headless_start_display() {
    mkdir -p "$session_dir"
    rm -f "$session_dir/display"
    # -noreset: the display stays as it is when its last program ends (before
    # the next one opens a window).
    Xvfb -displayfd 9 -screen 0 "$HEADLESS_SCREEN" -nolisten tcp -noreset 9>"$session_dir/display" >"$session_dir/xvfb.log" 2>&1 &
    headless_pids+=($!)
    for _ in $(seq 100); do
        [[ -s "$session_dir/display" ]] && break
        sleep 0.05
    done
    [[ -s "$session_dir/display" ]] || { echo "Xvfb did not start (see $session_dir/xvfb.log)"; return 1; }
    export DISPLAY=":$(head -n1 "$session_dir/display")"
    # HEADLESS_WINDOW_MANAGER=0: a bare display, where Wine runs its own modal
    # move loop instead of handing the move to a manager.
    [[ "${HEADLESS_WINDOW_MANAGER:-1}" == 0 ]] || headless_start_window_manager
}

# Without a window manager Wine waits about 2 s for every visible window it
# destroys; with one, closing takes about 0.1 s.  The manager also draws the
# title bars and gives new windows the focus, as on a desktop.  Its own
# configuration home keeps a user's settings out of the tests.
headless_start_window_manager() {
    XDG_CONFIG_HOME="$session_dir/openbox-config" openbox --sm-disable >"$session_dir/openbox.log" 2>&1 &
    headless_pids+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    echo "warning: the window manager did not start (see $session_dir/openbox.log)"
}

headless_start_sound() {
    mkdir -p "$session_dir/pulse"
    export XDG_RUNTIME_DIR="$session_dir/pulse"
    export PULSE_SERVER="unix:$session_dir/pulse/pa.sock"
    rm -f "$session_dir/pulse/pa.sock"
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        -L "module-null-sink sink_name=$HEADLESS_SINK" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$session_dir/pulse/pa.sock" \
        >"$session_dir/pulseaudio.log" 2>&1 &
    headless_pids+=($!)
    for _ in $(seq 100); do
        [[ -S "$session_dir/pulse/pa.sock" ]] && break
        sleep 0.05
    done
    [[ -S "$session_dir/pulse/pa.sock" ]] || echo "warning: PulseAudio did not start (see $session_dir/pulseaudio.log)"
}

# Prepares $WINEPREFIX once (its first start takes long; later ones find it
# ready).  With DISPLAY set, the prefix's first Wine command must see it.
headless_prepare_prefix() {
    mkdir -p "$session_dir"
    [[ -f "$WINEPREFIX/system.reg" ]] && return 0
    echo "Preparing the Wine prefix in $WINEPREFIX"
    wineboot -i >"$session_dir/wineboot.log" 2>&1 </dev/null
    wineserver -w
}

headless_start_wine() {
    headless_prepare_prefix
    wineserver -p >"$session_dir/wineserver.log" 2>&1
    headless_wine_started=1
    # Start the prefix's background services now, with their output going to a
    # file, so that none of them inherits (and holds open) a test runner's pipe.
    wine cmd /c exit >"$session_dir/wine-services.log" 2>&1 </dev/null
    headless_keep_desktop
}

# Wine's desktop process ends a few seconds after its last program, and the
# next program to open a window starts it again, handing it that program's
# output: a test runner reading that output then waits for the desktop
# process, which other tests keep alive, until its time-out.  A command prompt
# waiting for input that never comes keeps the desktop alive for the whole
# session, with its output going to a file.
headless_keep_desktop() {
    local fifo="$session_dir/desktop-keeper.in"
    rm -f "$fifo"
    mkfifo "$fifo" || return 1
    wine cmd /k <"$fifo" >"$session_dir/desktop-keeper.log" 2>&1 &
    sleep infinity >"$fifo" </dev/null 2>/dev/null &
    echo $! >"$session_dir/desktop-keeper.pid"
}

# A Wine server of the caller's own, over a copy of the checkout's prepared
# prefix (or the one named) (a few seconds; preparing a new one takes far longer).  Programs that
# share one Wine server but not one X display and sound server have failed in
# ways a lone program does not: X errors over another display's windows, hangs
# and crashes as they exit.  So a script with a display of its own also gets a
# server of its own.  headless_stop removes the copy.
headless_start_private_wine() {
    local prefix=$1 shared=${2:-$root/build/wineprefix}
    rm -rf "$prefix"
    if [[ -f "$shared/system.reg" ]]; then
        cp -a "$shared" "$prefix" || { echo "could not copy the Wine prefix $shared"; return 1; }
    fi
    export WINEPREFIX=$prefix
    headless_private_prefix=$prefix
    headless_start_wine
}

# A display, null sound card and Wine server of the caller's own, under DIR
# (the server over a copy of the prefix named, or the checkout's): for a
# script that plays beside other tests, so that its windows, focus, key
# presses, clipboard and sound never meet theirs.
#   headless_start_own DIR [PREFIX]
headless_start_own() {
    session_dir="$1/session"
    headless_start_display || return 1
    headless_start_sound
    headless_start_private_wine "$1/wineprefix" "${2:-}"
}

# Stops only what this shell started: a script that borrows the Wine server of
# its caller leaves it running.
headless_stop() {
    ((headless_wine_started)) && { wineserver -k >/dev/null 2>&1 || true; }
    headless_wine_started=0
    if [[ -f "$session_dir/desktop-keeper.pid" ]]; then
        kill "$(cat "$session_dir/desktop-keeper.pid")" 2>/dev/null
        rm -f "$session_dir/desktop-keeper.pid"
    fi
    if [[ -n "$headless_private_prefix" ]]; then
        wineserver -w >/dev/null 2>&1 || true
        rm -rf "$headless_private_prefix"
        headless_private_prefix=""
    fi
    for pid in "${headless_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${headless_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    headless_pids=()
}
