#!/usr/bin/env bash
# A game played in the page with real key presses and saved with its button,
# replayed by the native game with --fast: no frame may differ.
# Usage: check_saved.sh NATIVE_BIN PAGE_DIR
set -uo pipefail
native=$1
page=$2
here=$(cd "$(dirname "$0")" && pwd)
checks="$page/checks"
mkdir -p "$checks"
rm -f "$checks/page.rec"
node "$here/check_page.js" "$page" save "$checks/page.rec" || exit 1
[[ -s "$checks/page.rec" ]] || { echo "FAILED: nothing was saved"; exit 1; }
"$native/fathomer" --replay "$checks/page.rec" --fast
rc=$?
((rc == 0)) || echo "FAILED: the native replay of the page's recording ended with code $rc"
exit $rc
