#!/usr/bin/env bash
# Runs a command in a private network namespace (loopback up, plus one
# non-loopback address that carries no traffic, 192.0.2.10, so the program has
# a LAN-like address to show) with a private Xvfb display. Port 19730 and the
# display are then the test's own, whatever else runs on the machine.
#   sandbox.sh [--wm] COMMAND...      --wm also starts openbox
set -euo pipefail

if [[ "${QUORVANT_IN_SANDBOX:-}" != 1 ]]; then
  export QUORVANT_IN_SANDBOX=1
  exec unshare --net -- "$0" "$@"
fi

want_wm=0
if [[ "${1:-}" == --wm ]]; then want_wm=1; shift; fi

ip link set lo up
if ip link add qv0 type veth peer name qv1 2>/dev/null; then
  ip addr add 192.0.2.10/24 dev qv0
  ip link set qv0 up
  ip link set qv1 up
fi

XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
chmod 700 "$XDG_RUNTIME_DIR"

# -noreset: without it the server resets when its last client leaves and some
# launches fail to open the display. -displayfd picks a free display number.
display_file="$XDG_RUNTIME_DIR/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1920x1080x24 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [[ -s "$display_file" ]] && break
  sleep 0.1
done
if [[ ! -s "$display_file" ]]; then
  echo "sandbox: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$display_file")"

wm_pid=
if ((want_wm)); then
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  sleep 0.5
fi

cleanup() {
  [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

set +e
"$@"
status=$?
set -e
exit $status
