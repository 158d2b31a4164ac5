#!/usr/bin/env bash
# Runs a command with its output going to a file that is shown as it grows,
# so that the caller's pipe is held by this script alone; ends with the
# command's exit code once the command has ended.
#   detached_output.sh COMMAND...
# ctest reads a test's output until every holder of the pipe has closed it.
# Wine starts helper processes on a program's behalf (its desktop, a console
# host), and one that outlives the program while holding the program's output
# has kept ctest waiting until the time-out after the program had passed and
# ended.  Through this script such a helper holds only the file.
set -u
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$@" >"$out" 2>&1 </dev/null &
pid=$!
tail -n +1 -s 0.05 -f --pid="$pid" "$out"
wait "$pid"
