#!/usr/bin/env bash
# Screenshot of the Windows build under Wine, with a window manager and one
# phone connected, written to docs/screenshot-windows.png.
#   scripts/screenshot-windows.sh [QUORVANT_EXE]   (default build/windows/quorvant.exe)
set -euo pipefail
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [[ "${1:-}" != --inside ]]; then
  exe="$(realpath "${1:-$repo_root/build/windows/quorvant.exe}")"
  [[ -f "$exe" ]] || { echo "no $exe: build the windows preset first" >&2; exit 1; }
  "$repo_root/scripts/wine-prefix.sh"
  shared_prefix="$(source "$repo_root/scripts/wine-env.sh" && echo "$WINEPREFIX")"
  work="$(mktemp -d)"
  trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
  # A prefix of its own, so that its wineserver lives in the sandbox's network.
  cp -a "$shared_prefix" "$work/prefix"
  QUORVANT_WINEPREFIX="$work/prefix" "$repo_root/tests/e2e/sandbox.sh" --wm "$0" --inside "$exe"
  echo "wrote $repo_root/docs/screenshot-windows.png"
  exit 0
fi

exe="$2"
source "$repo_root/scripts/wine-env.sh"
out="$repo_root/docs/screenshot-windows.png"
mkdir -p "$(dirname "$out")"

wine "$exe" >/dev/null 2>&1 &
program=$!
window="$(timeout 60 xdotool search --sync --onlyvisible --name '^Quorvant$' | head -n1)"

# A phone that stays connected until the screenshot is taken.
PYTHONPATH="$repo_root/tests/e2e" python3 -c '
import time
from phone import Phone
phone = Phone(source="127.0.0.2")
time.sleep(30)
' &
phone=$!
sleep 2

import -frame -window "$window" "png:$out.tmp"
mv "$out.tmp" "$out"

kill "$phone" 2>/dev/null || true
wine taskkill /im quorvant.exe >/dev/null 2>&1 || true
wait "$program" || true
wineserver -k 2>/dev/null || true
