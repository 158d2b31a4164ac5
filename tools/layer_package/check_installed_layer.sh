#!/usr/bin/env bash
# The platform layer as another program gets it: installed from the build tree
# into an empty prefix, examples/ configured and built against that package as
# a project of its own, and hello_layer run for a few frames (natively on the
# SDL drivers the environment names, the Windows exe under Wine).  The
# installed headers must compile with nothing but pkg-config's flags: for
# Windows also without the build machine's /usr/include, so a header that
# reaches for a library the package does not carry fails here.  Natively the
# example is also built with a plain compiler command and pkg-config.
# Usage: check_installed_layer.sh native BUILD_DIR WORK_DIR CXX
#        check_installed_layer.sh windows BUILD_DIR WORK_DIR CXX TOOLCHAIN_FILE EMULATOR...
set -uo pipefail
kind=$1
build=$2
work=$3
cxx=$4
shift 4
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$work/prefix
frames=20

fail() {
    echo "$*"
    exit 1
}
# A step's output goes to a log of its own, shown when the step fails.
step() {
    local log=$work/$1.log
    shift
    "$@" >"$log" 2>&1 </dev/null || { cat "$log"; fail "failed: $*"; }
}

rm -rf "$work"
mkdir -p "$work"
step install cmake --install "$build" --prefix "$prefix"

# The layer and nothing else: no game, no data, no tests, no backend folders.
lib=$(cd "$prefix" && find . -name libfathomer_layer.a | head -n1)
[[ -n "$lib" ]] || fail "no libfathomer_layer.a was installed"
libdir=$(dirname "${lib#./}")
for f in include/os/window.h include/os/audio.h include/render/renderer.h include/sound/mixer.h \
         "$libdir/cmake/FathomerLayer/FathomerLayerConfig.cmake" "$libdir/pkgconfig/fathomer-layer.pc" \
         share/fathomer-layer/shaders/instanced__vert share/fathomer-layer/shaders/instanced__frag; do
    [[ -f "$prefix/$f" ]] || fail "the installed layer lacks $f"
done
entries() { find "$1" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | tr '\n' ' '; }
[[ "$(entries "$prefix")" == "include ${libdir%%/*} share " ]] || fail "installed: $(entries "$prefix")"
[[ "$(entries "$prefix/include")" == "os render sound " ]] || fail "installed headers: $(entries "$prefix/include")"
extra=$(find "$prefix/include" -mindepth 2 ! -name '*.h')
[[ -z "$extra" ]] || fail "installed with the headers: $extra"

if [[ $kind == windows ]]; then
    export PKG_CONFIG_LIBDIR=$prefix/$libdir/pkgconfig
else
    export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}
fi
(cd "$prefix/include" && find . -name '*.h' | sort | sed 's|^\./\(.*\)|#include "\1"|') >"$work/all_headers.cpp"
# shellcheck disable=SC2046  # pkg-config's flags are words
step headers "$cxx" -fsyntax-only $(pkg-config --cflags fathomer-layer) "$work/all_headers.cpp"

configure=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix")
if [[ $kind == windows ]]; then
    configure+=(-DCMAKE_TOOLCHAIN_FILE="$1")
    shift
else
    configure+=(-DCMAKE_CXX_COMPILER="$cxx")
fi
if command -v ccache >/dev/null; then
    configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
step configure cmake -S "$root/examples" -B "$work/example" "${configure[@]}"
step build cmake --build "$work/example"

if [[ $kind == native ]]; then
    # shellcheck disable=SC2046
    step pkg_config_build "$cxx" "$root/examples/hello_layer.cpp" -o "$work/hello_layer_pkg_config" \
        $(pkg-config --cflags --libs --static fathomer-layer)
fi

if [[ $kind == windows ]]; then
    step run "$@" "$work/example/hello_layer.exe" --frames $frames
else
    step run "$work/example/hello_layer" --frames $frames
fi
grep -q "^Drew $frames frames" "$work/run.log" || { cat "$work/run.log"; fail "hello_layer did not draw $frames frames"; }
if grep -qi "shader" "$work/run.log"; then
    cat "$work/run.log"
    fail "hello_layer did not get its shaders"
fi
echo "installed layer: $(du -sk "$prefix" | cut -f1) KB; example: $(grep '^Drew' "$work/run.log")"
