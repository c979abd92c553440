#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the project's prefix.
# CMake uses it to run the cross-built tests.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
"$here/wine-prefix.sh"
source "$here/wine-env.sh"
exec wine "$@"
