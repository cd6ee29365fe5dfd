#!/bin/sh
# Takes the README's screenshots again: the program under Xvfb against the
# simulated phone, with a conversation that a message from the phone opened,
# and the phone-book window over it, written as PNGs into docs/. Then the
# pictures that show the child windows keep usable sizes, into
# docs/windows/: the message store opened at the default size, Window
# Cascade (the phone book active) and Tile over three conversations and
# both store windows, the store after a message was stored, and the port
# question box. Look at
# them after a change to a window. The user's own settings are not touched.
#
#   tools/screenshots.sh            (build folder: build, or $PARLOVA_BUILD)
set -e
cd "$(dirname "$0")/.."

# Setup: an X server without a screen, and the tools that take the pictures.
need=
for tool in Xvfb xdpyinfo xwd xwdtopnm pnmtopng pnmquant xdotool; do command -v $tool >/dev/null || need=1; done
if [ -n "$need" ]; then
  SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends \
    xvfb x11-utils x11-apps netpbm xdotool qt6-qpa-plugins fonts-dejavu-core
fi

build=${PARLOVA_BUILD:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLOVA_TESTS=OFF
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 4)" --target parlova phonesim

scratch=$(mktemp -d)
pids=
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT INT TERM

# A home of its own: settings that connect to COM7 at start-up.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" XDG_DATA_HOME="$scratch/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME/Parlova" "$HOME/Documents"
cat > "$XDG_CONFIG_HOME/Parlova/Parlova.ini" <<'INI'
[Options]
LastChoice=True
LastPort=7
ConnectAtStartUp=True
INI

display=:$((90 + $$ % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
pids="$pids $!"
export DISPLAY="$display"
i=0; until xdpyinfo >/dev/null 2>&1 || [ $i -ge 50 ]; do i=$((i + 1)); sleep 0.1; done

"$build/phonesim" 7 \
  --contact "Ann Lindqvist" +15551234567 --contact "Bob Marsh" +15557654321 --contact "Office" +15550001000 \
  --message +15551234567 "Lunch on Friday? The new place by the river opens at noon." \
  --message +15551234567 "Table for three, I booked it already." >"$scratch/phone.txt" &
pids="$pids $!"
i=0; until grep -q '^Start the program with' "$scratch/phone.txt" || [ $i -ge 50 ]; do i=$((i + 1)); sleep 0.1; done
setting=$(sed -n 's/^Start the program with: //p' "$scratch/phone.txt")
[ -n "$setting" ] || { echo "the simulated phone did not start" >&2; exit 1; }

env "$setting" QT_QPA_PLATFORM=xcb "$build/parlova" >"$scratch/parlova.log" 2>&1 &
program=$!
pids="$pids $program"
# The program connects, the messages arrive and open their conversation.
sleep 8

mkdir -p docs/windows
# The main window (the screen while there is none); in few colours, which
# keeps the files small.
shot() {
  window=$(xdotool search --name '^Parlova' 2>/dev/null | head -n 1)
  if [ -n "$window" ]; then
    xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmquant 64 2>/dev/null | pnmtopng -compression 9 >"docs/$1"
  else
    xwd -silent -root | xwdtopnm 2>/dev/null | pnmquant 64 2>/dev/null | pnmtopng -compression 9 >"docs/$1"
  fi
  echo "docs/$1"
}
main() { xdotool search --name '^Parlova' 2>/dev/null | head -n 1; }
# A menu of the main window's menu bar by its access key, then an item.
menu() {
  xdotool windowfocus --sync "$(main)" key "alt+$1"
  sleep 0.5
  xdotool key "$2"
  sleep 1
}
shot main-window.png

# F12 asks before it reads the books from the phone: Yes (Enter), then the
# window shows them.
xdotool search --name '^Parlova' windowfocus --sync key F12 || true
sleep 2
xdotool key Return || true
sleep 4
shot phonebook.png

# Two more conversations (three in all) and the message store, read after
# its question is answered Yes: it opens inside the work area.
xdotool windowfocus --sync "$(main)" key ctrl+n
sleep 1
xdotool key ctrl+n
sleep 1
xdotool key F11
sleep 2
xdotool key Return
sleep 3
shot windows/store-opened.png

# A new message stored from the store window, where it opened: its row's
# columns fit their text. Clear puts the keyboard in the text; the number
# box is clicked.
xdotool windowfocus --sync "$(main)" key F11
sleep 1
xdotool key F4
xdotool type --delay 20 "Meeting moved to Thursday at ten, same room."
xdotool mousemove --window "$(main)" 160 216 click 1
sleep 0.3
xdotool type --delay 20 "+15550001000"
xdotool key ctrl+s
sleep 3
shot windows/store-after-store.png

menu w t
shot windows/tile.png
# Cascade with the phone book active, opened before the others: it ends on
# top of the cascade, still active.
xdotool windowfocus --sync "$(main)" key F12
sleep 1
menu w c
shot windows/cascade.png

# The port question: a program whose remembered port cannot be opened.
kill "$program" 2>/dev/null || true
sleep 1
cat > "$XDG_CONFIG_HOME/Parlova/Parlova.ini" <<'INI'
[Options]
LastChoice=True
LastPort=8
ConnectAtStartUp=True
INI
env PARLOVA_COM8=/nonexistent/port QT_QPA_PLATFORM=xcb "$build/parlova" >"$scratch/parlova2.log" 2>&1 &
pids="$pids $!"
sleep 5
# The dialog by itself: a screen picture shows its window black.
box=$(xdotool search --name '^Connect$' 2>/dev/null | head -n 1)
xwd -silent -id "$box" | xwdtopnm 2>/dev/null | pnmquant 64 2>/dev/null | pnmtopng -compression 9 >docs/windows/port-question.png
echo docs/windows/port-question.png
