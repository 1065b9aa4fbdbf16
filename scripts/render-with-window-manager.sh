#!/usr/bin/env bash
# Runs Sporvik as a user would, under Xvfb with a real window manager
# (openbox), from a portable copy in a scratch folder, and takes screenshots
# to shots/ (or the folder given): the first start, a restart after the
# window was moved, and the About box. It prints where the windows stood, so
# the centring by the outer frame and the settings round trip can be read
# off as numbers too.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
out="$(cd "$(mkdir -p "${1:-shots}" && echo "${1:-shots}")" && pwd)"
cmake --build "$build" -j2 --target Sporvik grab_screen sample_glyphs >/dev/null

scratch=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
  kill "${app:-}" "${wm:-}" "${xvfb:-}" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
cp "$build/bin/Sporvik" "$build/bin/SporvikU.HLP" "$build"/bin/*.bmp "$scratch/"
export DISPLAY=$display XDG_CONFIG_HOME="$scratch/config"
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
openbox >/dev/null 2>&1 & wm=$!
sleep 1

shot() { "$build/bin/grab_screen" "$out/$1.png"; echo "$out/$1.png"; }
window() { # the id of a visible window whose title matches, within ten seconds
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "no window \"$1\" came up" >&2
  exit 1
}
client() { # left top of a window's client area on the screen
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}'
}
outer() { # left top width height of a window with its frame
  local id=$1 x y w h l r t b
  eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(WIDTH|HEIGHT)=')"
  read -r l r t b < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r x y < <(client "$id")
  echo "$((x - l)) $((y - t)) $((WIDTH + l + r)) $((HEIGHT + t + b))"
}
centred() { # the left top a window of this outer size gets when centred
  echo "$(((1280 - $1) / 2)) $(((1024 - $2) / 2))"
}

"$scratch/Sporvik" >/dev/null 2>&1 & app=$!
main=$(window '^Sporvik ')
sleep 1
read -r x y w h < <(outer "$main")
echo "first start: outer $x $y (${w}x$h), centred would be $(centred "$w" "$h")"
shot wm-first-start

xdotool windowmove "$main" 120 90
sleep 1
read -r x y w h < <(outer "$main")
echo "moved to: outer $x $y"
xdotool windowactivate --sync "$main" key alt+F4
wait "$app" || true

"$scratch/Sporvik" >/dev/null 2>&1 & app=$!
main=$(window '^Sporvik ')
sleep 1
read -r x2 y2 w h < <(outer "$main")
echo "restart: outer $x2 $y2 (was $x $y)"
shot wm-restart-moved

# The About button stands at 323, 195 in the window, 25 pixels square.
read -r X Y < <(client "$main")
xdotool mousemove $((X + 335)) $((Y + 207)) click 1
about=$(window '^About$')
sleep 1
read -r ax ay aw ah < <(outer "$about")
echo "About box: outer $ax $ay (${aw}x$ah), centred would be $(centred "$aw" "$ah")"
shot wm-about
xdotool windowactivate --sync "$about" key Return
sleep 1
xdotool windowactivate --sync "$main" key alt+F4
wait "$app" || true
