#!/bin/sh
# Builds Parlova and starts it. Unless PARLOVA_COM7 already names a device,
# a simulated phone with a few contacts answers on COM7 while the program
# runs, so the program can be tried without a phone; a real phone on any
# other port is found as usual. COM7 leads to a fixed path, a link to the
# simulator's device, so a simulator started again on that path (--link) is
# found by the next Connect.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLOVA_TESTS=OFF
cmake --build build -j "$(nproc 2>/dev/null || echo 4)"

if [ -z "$PARLOVA_COM7" ]; then
  dir=${XDG_RUNTIME_DIR:+$XDG_RUNTIME_DIR/parlova}
  dir=${dir:-/tmp/parlova-$(id -u)}
  mkdir -p -m 700 "$dir"
  out=$(mktemp)
  build/phonesim 7 --link "$dir/com7" --contact "Ann Lindqvist" +15551234567 --contact "Bob Marsh" +15557654321 \
    --message +15551234567 "Welcome to Parlova. This message came from the simulated phone." >"$out" 2>&1 &
  phone=$!
  trap 'kill $phone 2>/dev/null; rm -f "$out"' EXIT INT TERM
  i=0; until grep -q '^Start the program with' "$out" || [ $i -ge 50 ]; do i=$((i + 1)); sleep 0.1; done
  setting=$(sed -n 's/^Start the program with: //p' "$out")
  if [ -n "$setting" ]; then
    export "$setting"
    echo "A simulated phone (process $phone) answers on COM7 ($setting): Tools, Connect... finds it."
  else
    echo "The simulated phone did not start; the program runs without it." >&2
  fi
  build/parlova "$@"
else
  exec build/parlova "$@"
fi
