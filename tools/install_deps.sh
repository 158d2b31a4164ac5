#!/usr/bin/env bash
# Installs the Debian packages listed in tools/packages.txt that are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
missing=()
while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done < "$here/packages.txt"
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Debian's nodejs comes without npm, which is a package of its own there; a
# machine whose nodejs brings npm must not be given Debian's as well.
if ! command -v npm >/dev/null; then
    echo "Installing: npm"
    [[ $(id -u) -eq 0 ]] && sudo="" || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
fi
# The browser tests' driver, at the versions of the committed lock file.
web_check="$here/web_check"
stamp="$web_check/node_modules/.installed-from-lock"
if ! cmp -s "$web_check/package-lock.json" "$stamp"; then
    (cd "$web_check" && npm ci --no-audit --no-fund --silent)
    cp "$web_check/package-lock.json" "$stamp"
fi
