#!/usr/bin/env bash
# Reads the program as a screen reader would: in a real X window (Xvfb, openbox, the xcb platform), with a
# private session bus (dbus-run-session), the accessibility bus and its registry (at-spi2-core) and Qt's
# bridge switched on, scripts/a11y_check.py walks the AT-SPI trees of the splash, the archive menu, an
# archive window with a topic chosen, the search window with a query typed and a document window,
# driving the program with xdotool as scripts/smoke.sh does. It fails on an unnamed interactive object,
# an unreadable maxim, excerpt or document, or a wrong focus state.
#
# Everything started here is ended here by its process id. NORVELIA_BIN names the program (default: the
# debug build, built here when missing); A11Y_WAIT is how long any one wait may last, in seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
WAIT=${A11Y_WAIT:-60}

# Second half: inside the private session bus.
if [ "${1:-}" = "--in-session" ]; then
  BIN=$2 WORK=$3
  LAUNCHER_PID="" BUS_PID="" REGISTRY_PID="" APP_PID=""
  inner_cleanup() {
    local rc=$?
    for p in $APP_PID $REGISTRY_PID $BUS_PID $LAUNCHER_PID; do kill "$p" 2>/dev/null || true; done
    for p in $APP_PID $REGISTRY_PID $BUS_PID $LAUNCHER_PID; do
      for _ in $(seq 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$p" 2>/dev/null || true
    done
    exit $rc
  }
  trap inner_cleanup EXIT
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/launcher.log" 2>&1 &
  LAUNCHER_PID=$!
  for _ in $(seq $((WAIT * 10))); do
    # Asked whether the name is owned, not for the address: a call to the name before the launcher owns
    # it would have the session bus start a second launcher of its own, which no cleanup here knows of.
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && break
    sleep 0.1
  done
  for _ in $(seq 50); do
    BUS_PID=$(pgrep -P "$LAUNCHER_PID" | head -n1 || true)
    [ -n "$BUS_PID" ] && break
    sleep 0.1
  done
  [ -n "$BUS_PID" ] || { echo "a11y: the accessibility bus did not start" >&2; exit 1; }
  /usr/libexec/at-spi2-registryd >"$WORK/registry.log" 2>&1 &
  REGISTRY_PID=$!
  cd "$(dirname "$BIN")"
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb setsid "$BIN" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  cd "$ROOT"
  # Debian's own interpreter: the bindings (python3-pyatspi, python3-gi) are installed for it.
  NORVELIA_PID=$APP_PID A11Y_WAIT=$WAIT /usr/bin/python3 scripts/a11y_check.py
  exit 0
fi

bash scripts/deps.sh
BIN=${NORVELIA_BIN:-$ROOT/build/debug/norvelia}
if [ ! -x "$BIN" ]; then
  cmake --preset debug >/dev/null
  cmake --build build/debug -j 2 --target norvelia
fi

WORK=$(mktemp -d)
XVFB_PID="" WM_PID="" SESSION_PID=""
cleanup() {
  local rc=$?
  for p in $SESSION_PID $WM_PID $XVFB_PID; do kill "$p" 2>/dev/null || true; done
  for p in $SESSION_PID $WM_PID $XVFB_PID; do
    for _ in $(seq 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$p" 2>/dev/null || true
  done
  if [ $rc -ne 0 ]; then
    echo "a11y: FAILED (exit $rc); program output:" >&2
    tail -n 40 "$WORK/app.log" >&2 2>/dev/null || true
  fi
  rm -rf "$WORK"
  exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
for _ in $(seq $((WAIT * 10))); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "a11y: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$WORK/display")"
unset WAYLAND_DISPLAY

openbox --sm-disable --startup "touch $WORK/wm-ready" >"$WORK/wm.log" 2>&1 &
WM_PID=$!
for _ in $(seq $((WAIT * 10))); do [ -e "$WORK/wm-ready" ] && break; sleep 0.1; done
[ -e "$WORK/wm-ready" ] || { echo "a11y: the window manager did not start" >&2; exit 1; }

# The desktop's own buses are not ours to read or disturb.
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
dbus-run-session -- bash "$0" --in-session "$BIN" "$WORK" &
SESSION_PID=$!
rc=0
wait "$SESSION_PID" || rc=$?
SESSION_PID=""
exit $rc
