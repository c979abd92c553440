# Sourced by the scripts that run the Windows build under Wine: a throwaway
# prefix of the project's own, quiet, and without install dialogs.
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${QUORVANT_WINEPREFIX:-$repo_root/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
