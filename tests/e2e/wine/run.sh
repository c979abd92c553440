#!/usr/bin/env bash
# Runs one end-to-end test of the Windows build: a private copy of the
# project's ready Wine prefix (so the test has a wineserver of its own, inside
# its own network namespace), the test script inside tests/e2e/sandbox.sh,
# then the wineserver stopped and the copy removed.
#   run.sh TEST.py QUORVANT_EXE INSPECT_EXE FOCUS_EXE
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo_root="$(cd "$here/../../.." && pwd)"
script="$1"
export QUORVANT_EXE="$2" QUORVANT_INSPECT_EXE="$3" QUORVANT_FOCUS_EXE="$4"

# The shared prefix, made once for all tests.
"$repo_root/scripts/wine-prefix.sh"
shared_prefix="$(source "$repo_root/scripts/wine-env.sh" && echo "$WINEPREFIX")"

work="$(mktemp -d)"
export QUORVANT_WINEPREFIX="$work/prefix"
cp -a "$shared_prefix" "$QUORVANT_WINEPREFIX"
source "$repo_root/scripts/wine-env.sh"

finish() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

"$repo_root/tests/e2e/sandbox.sh" python3 "$script"
