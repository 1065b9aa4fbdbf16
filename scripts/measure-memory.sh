#!/usr/bin/env bash
# Peak memory (VmHWM) of the running program after it has loaded a directory
# of N 16 x 16 glyphs (default 10000). The program is copied into a temp
# directory, so its settings file there points it at the glyphs.
#
#   scripts/measure-memory.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-10000}
make --no-print-directory build >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/glyphs"
cp build/bin/Sporvik "$work/"
cp build/bin/arrow0_16.bmp "$work/glyphs/g00001.bmp"
for i in $(seq 2 "$count"); do
  printf -v name 'g%05d.bmp' "$i"
  cp "$work/glyphs/g00001.bmp" "$work/glyphs/$name"
done
# C: is the host root, so the host path becomes C:\ and backslashes.
printf '[options]\r\ndir=C:%s\\\r\n' "$(echo "$work/glyphs" | tr / '\\')" >"$work/Sporvik.ini"

QT_QPA_PLATFORM=offscreen "$work/Sporvik" 2>/dev/null &
pid=$!
sleep 3
peak=$(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status")
rss=$(awk '/VmRSS/ {print $2, $3}' "/proc/$pid/status")
kill "$pid"; wait "$pid" 2>/dev/null || true
echo "glyphs: $count  peak (VmHWM): $peak  resident now (VmRSS): $rss"
