#!/usr/bin/env bash
# Photographs the Linux program's window, frame included, with one phone
# connected, into docs/screenshot-linux.png. Builds nothing.
#   scripts/screenshot-linux.sh [PROGRAM]     default: build/linux/quorvant
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [[ "${1:-}" != --in-sandbox ]]; then
  program="$(realpath "${1:-$root/build/linux/quorvant}")"
  if [[ ! -x "$program" ]]; then
    echo "screenshot-linux: no program at $program; build it first" >&2
    exit 1
  fi
  mkdir -p "$root/docs"
  exec "$root/tests/e2e/sandbox.sh" --wm "$0" --in-sandbox "$program" "$root/docs/screenshot-linux.png"
fi

program="$2"
output="$3"
"$program" 2>/dev/null &
program_pid=$!
phone_pid=
cleanup() {
  [[ -n "$phone_pid" ]] && kill "$phone_pid" 2>/dev/null || true
  kill "$program_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

window=
for _ in $(seq 1 100); do
  window="$(xdotool search --onlyvisible --name '^Quorvant$' 2>/dev/null | head -n1 || true)"
  [[ -n "$window" ]] && break
  sleep 0.1
done
if [[ -z "$window" ]]; then
  echo "screenshot-linux: the window did not appear" >&2
  exit 1
fi

# A phone that stays connected until the picture is taken.
python3 -c '
import socket, sys, time
s = socket.socket()
s.bind(("127.0.0.2", 0))
s.connect(("127.0.0.1", 19730))
print("connected", flush=True)
time.sleep(60)
' >"$XDG_RUNTIME_DIR/phone" &
phone_pid=$!
for _ in $(seq 1 50); do
  grep -q connected "$XDG_RUNTIME_DIR/phone" 2>/dev/null && break
  sleep 0.1
done

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
# Two ticks of 时钟1 and a repaint.
sleep 1
import -frame -window "$window" "$output"
echo "screenshot-linux: wrote $output"
