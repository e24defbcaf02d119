#!/usr/bin/env bash
# Runs the program as a user would, in a real X window: a virtual screen (Xvfb) with a window manager
# (openbox) and the xcb platform, driven by xdotool. It starts the program, clicks the splash, opens an
# archive from the menu with the keyboard (where printing must still refuse: no topic is chosen),
# opens and closes the file dialog of "Elimina..." and the about window (which must keep its size),
# chooses a topic, steps through the maxims with the keyboard, prints all maxims of the topic, closes
# the document window, opens the search window with F3 (which must fit the screen), types a query,
# moves into the hits with Down, opens one with Enter and comes back with F3, leaves with "Sì" and
# presses a key on the farewell screen; the program must then end by itself, leaving no process and
# no window behind. The program keeps its settings in a folder of the run's own.
#
# Every wait polls with a deadline, so the script cannot hang. NORVELIA_BIN names the program (default:
# the debug build, built here when missing); SMOKE_SHOTS=folder keeps a screenshot of each step
# (needs xwd and ImageMagick's convert) and the program's output.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
WAIT=${SMOKE_WAIT:-60}   # seconds any one window may take to appear on a loaded machine

started=$(date +%s.%N)
bash scripts/deps.sh
BIN=${NORVELIA_BIN:-$ROOT/build/debug/norvelia}
if [ ! -x "$BIN" ]; then
  cmake --preset debug >/dev/null
  cmake --build build/debug -j 2 --target norvelia
fi

WORK=$(mktemp -d)
XVFB_PID="" WM_PID="" APP_PID=""
cleanup() {
  local rc=$?
  for p in $APP_PID $WM_PID $XVFB_PID; do
    kill "$p" 2>/dev/null || true
  done
  for p in $APP_PID $WM_PID $XVFB_PID; do
    for _ in $(seq 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$p" 2>/dev/null || true
  done
  if [ $rc -ne 0 ]; then
    echo "smoke: FAILED (exit $rc); program output:" >&2
    tail -n 40 "$WORK/app.log" >&2 2>/dev/null || true
  fi
  [ -n "${SMOKE_SHOTS:-}" ] && mkdir -p "$SMOKE_SHOTS" && cp "$WORK/app.log" "$SMOKE_SHOTS/" 2>/dev/null
  rm -rf "$WORK"
  exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() { echo "smoke: $*" >&2; exit 1; }
step() { echo "smoke: $*"; }

# A free display of its own: Xvfb picks the number and writes it to its standard output.
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
for _ in $(seq $((WAIT * 10))); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$WORK/display")"
unset WAYLAND_DISPLAY

openbox --sm-disable --startup "touch $WORK/wm-ready" >"$WORK/wm.log" 2>&1 &
WM_PID=$!
for _ in $(seq $((WAIT * 10))); do [ -e "$WORK/wm-ready" ] && break; sleep 0.1; done
[ -e "$WORK/wm-ready" ] || fail "the window manager did not start"

xdo() { timeout 15 xdotool "$@"; }

# The ids of the program's visible windows whose title matches the pattern (a bash regular expression).
windows() {
  local pattern=$1 w
  for w in $(xdo search --all --onlyvisible --pid "$APP_PID" --name '.*' 2>/dev/null || true); do
    [[ "$(xdo getwindowname "$w" 2>/dev/null)" =~ $pattern ]] && echo "$w"
  done
  return 0
}

# The id of the first visible window of the program whose title matches, after waiting for it.
wait_window() {
  local pattern=$1 what=$2 id=""
  for _ in $(seq $((WAIT * 5))); do
    id=$(windows "$pattern" | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$APP_PID" 2>/dev/null || fail "the program ended while waiting for $what"
    sleep 0.2
  done
  fail "no window: $what"
}

# Waits until the given window is the active one.
wait_active() {
  local id=$1 what=$2
  for _ in $(seq $((WAIT * 5))); do
    [ "$(xdo getactivewindow 2>/dev/null)" = "$id" ] && return 0
    sleep 0.2
  done
  fail "not the active window: $what"
}

# Waits until no visible window of the program matches the pattern.
wait_gone() {
  local pattern=$1 what=$2
  for _ in $(seq $((WAIT * 5))); do
    [ -z "$(windows "$pattern")" ] && return 0
    sleep 0.2
  done
  fail "still on screen: $what"
}

activate() { xdo windowactivate --sync "$1" >/dev/null 2>&1 || xdo windowfocus --sync "$1"; }
keys() {
  local w=$1
  shift
  activate "$w"
  xdo key --clearmodifiers --delay 60 "$@"
}

shot_no=0
shot() {
  [ -n "${SMOKE_SHOTS:-}" ] || return 0
  mkdir -p "$SMOKE_SHOTS"
  shot_no=$((shot_no + 1))
  sleep 0.5   # the last paint reaches the screen
  # Under Xvfb a window shown while another of the program is active can stay black until the window
  # manager next moves it (a plain Qt message box does the same); a move there and back shows it as
  # the program painted it.
  local w
  for w in $(windows '.*'); do
    xdo windowmove --sync --relative "$w" 1 0 >/dev/null 2>&1 || true
    xdo windowmove --sync --relative "$w" -- -1 0 >/dev/null 2>&1 || true
  done
  sleep 0.3
  timeout 30 bash -c 'xwd -root -silent | convert xwd:- "$1"' _ "$SMOKE_SHOTS/$(printf %02d $shot_no)-$1.png" || true
}

step "display $DISPLAY; starting $BIN"
cd "$(dirname "$BIN")"
# A session of its own, so that anything it leaves running can be found afterwards.
XDG_CONFIG_HOME="$WORK/config" QT_QPA_PLATFORM=xcb setsid "$BIN" >"$WORK/app.log" 2>&1 &
APP_PID=$!
cd "$ROOT"

splash=$(wait_window "^Norvelia$" "the splash")
shot splash
step "splash $splash: click"
activate "$splash"
xdo mousemove --window "$splash" 200 200 click 1

menu=$(wait_window "^Norvelia: menu degli archivi" "the archive menu")
shot menu
# The first option has the focus; four steps down reach Condominio, Space opens it.
step "menu $menu: Down x4, Space"
keys "$menu" Down Down Down Down space
archive=$(wait_window "^Norvelia: condominio$" "the condominio archive window")
shot archive-opened

step "archive $archive: Stampa before any topic must refuse"
keys "$archive" alt+s
refusal=$(wait_window "^Norvelia: controllo dati immessi" "the refusal to print without a topic")
shot refusal
keys "$refusal" Return
wait_gone "^Norvelia: controllo dati immessi" "the refusal"

step "File, Elimina...: the file dialog opens; Esc closes it"
keys "$archive" alt+f e
dialog=$(wait_window "^Elimina: seleziona il file" "the file dialog of Elimina")
[ -n "${SMOKE_SHOTS:-}" ] && xdo windowsize --sync "$dialog" 760 480 >/dev/null 2>&1
shot file-dialog
keys "$dialog" Escape
wait_gone "^Elimina: seleziona il file" "the file dialog"

step "?, Informazioni: the about window keeps its size when asked to grow"
keys "$archive" alt+question i
about=$(wait_window "^Informazioni su Norvelia$" "the about window")
before=$(xdo getwindowgeometry "$about" | grep Geometry)
xdo windowsize "$about" 900 700 >/dev/null 2>&1 || true
sleep 1
after=$(xdo getwindowgeometry "$about" | grep Geometry)
shot about
[ "$before" = "$after" ] || fail "the about window was resized: $before -> $after"
keys "$about" space   # its OK button has the focus
wait_gone "^Informazioni su Norvelia$" "the about window"

# The list has the focus: Down chooses the first topic; Tab reaches the scroll bar, whose arrow keys
# step one maxim and Page Down five.
step "choose topic 1, step with Right, Right, Page Down"
keys "$archive" Down
keys "$archive" Tab Right Right Next
shot stepped

step "print all maxims of the topic (File, Stampa, Tutte)"
keys "$archive" alt+f t t
doc=$(wait_window " - Elaboratore di testi Norvelia$" "the document window")
shot document
step "document window $doc: close it"
keys "$doc" alt+F4
for _ in $(seq $((WAIT * 5))); do
  [ -z "$(windows " - Elaboratore di testi Norvelia$")" ] && break
  # A document that counts as changed asks first: not saved.
  q=$(windows "^Elaboratore di testi Norvelia$" | head -n1)
  [ -n "$q" ] && keys "$q" alt+n
  sleep 0.2
done
wait_gone " - Elaboratore di testi Norvelia$" "the document window"

step "F3: the search window, within the screen"
keys "$archive" F3
search=$(wait_window "^Norvelia: ricerca nelle massime$" "the search window")
wait_active "$search" "the search window"
read -r sw sh < <(xdo getwindowgeometry "$search" | awk '/Geometry/ { split($2, g, "x"); print g[1], g[2] }')
read -r rw rh < <(xdo getdisplaygeometry)
[ "$sw" -le "$rw" ] && [ "$sh" -le "$rh" ] || fail "the search window (${sw}x${sh}) is larger than the screen (${rw}x${rh})"
step "search $search (${sw}x${sh}): a query, Down into the hits, Enter opens the first in its archive"
xdo type --delay 60 "revoca amministratore"
keys "$search" Down
shot search
keys "$search" Return
wait_active "$archive" "the condominio archive window on the hit"
shot search-hit-opened
step "F3 from the archive goes back to the search"
keys "$archive" F3
wait_active "$search" "the search window again"

step "USCITA, answer Sì"
keys "$archive" alt+u
question=$(wait_window "^Norvelia: massime sull'edilizia$" "the exit question")
shot exit-question
keys "$question" alt+s
wait_gone "^Norvelia: condominio$" "the archive window"
wait_gone "^Norvelia: ricerca nelle massime$" "the search window"
farewell=$(wait_window "^Norvelia$" "the farewell screen")
shot farewell

step "farewell $farewell: a key ends the program"
keys "$farewell" x
pressed=$(date +%s.%N)
ended=""
for _ in $(seq 100); do
  kill -0 "$APP_PID" 2>/dev/null || { ended=$(date +%s.%N); break; }
  sleep 0.05
done
[ -n "$ended" ] || fail "the program is still running 5 s after the key"
rc=0
wait "$APP_PID" || rc=$?
sid=$APP_PID
APP_PID=""
[ $rc -eq 0 ] || fail "the program ended with exit code $rc"
left=$(pgrep -s "$sid" || true)
[ -z "$left" ] && [ -z "$(xdo search --class norvelia 2>/dev/null || true)" ] || fail "left behind: processes [$left]"
elapsed() { awk -v a="$1" -v b="$2" -v f="$3" 'BEGIN { printf f, b - a }'; }
step "ended $(elapsed "$pressed" "$ended" %.2f) s after the key, exit code 0, nothing left running"
step "passed in $(elapsed "$started" "$(date +%s.%N)" %.1f) s"
