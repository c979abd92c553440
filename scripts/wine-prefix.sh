#!/usr/bin/env bash
# Makes the Wine prefix once: boots it and maps the Chinese UI fonts to
# WenQuanYi Zen Hei so that the captions render. Safe to run in parallel.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [[ -f "$WINEPREFIX/.quorvant-ready" ]]; then exit 0; fi

rm -rf "$WINEPREFIX"
# wineboot needs no display; keep it away from any that is set.
DISPLAY= wine wineboot -i >/dev/null 2>&1 || true
wineserver -w

reg_utf8="$(mktemp)"
reg_utf16="$(mktemp --suffix=.reg)"
cat >"$reg_utf8" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"SimSun"="WenQuanYi Zen Hei"
"宋体"="WenQuanYi Zen Hei"
"NSimSun"="WenQuanYi Zen Hei"
"新宋体"="WenQuanYi Zen Hei"
"Microsoft YaHei"="WenQuanYi Zen Hei"
"微软雅黑"="WenQuanYi Zen Hei"
REG
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$reg_utf8"; } >"$reg_utf16"
DISPLAY= wine regedit /S "$(winepath -w "$reg_utf16")" >/dev/null 2>&1
wineserver -w
rm -f "$reg_utf8" "$reg_utf16"
touch "$WINEPREFIX/.quorvant-ready"
