#!/usr/bin/env bash
# Sets up what is missing, builds both desktops (and the sanitizer build) and
# runs every test: the unit tests, the front-end tests and the end-to-end tests
# of the real program on Linux/X11 and under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh
scripts/wine-prefix.sh

jobs="$(nproc)"
presets=(linux linux-asan windows)
for preset in "${presets[@]}"; do
  echo "== build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done

failed=0
for preset in "${presets[@]}"; do
  echo "== test: $preset"
  ctest --preset "$preset" -j"$jobs" || failed=1
done
exit "$failed"
