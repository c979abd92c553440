#!/usr/bin/env bash
# Sets up what is missing, builds the Linux desktop and starts Quorvant.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)"
exec build/linux/quorvant
