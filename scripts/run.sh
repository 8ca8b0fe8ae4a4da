#!/usr/bin/env bash
# Installs what is missing, builds, prepares the Wine prefix with the programs in their
# program folder and the driver installed, then starts the management program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Its own prefix, also for wine-prefix and wine-install, which read SORV_WINEPREFIX.
export SORV_WINEPREFIX=${SORV_WINEPREFIX:-$PWD/build/run-prefix}
. scripts/wine-env.sh
. scripts/display.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
progdir="$WINEPREFIX/drive_c/Program Files/Sorvane"
# A new prefix the first time; afterwards only the programs and the driver are renewed.
if [ -f "$WINEPREFIX/system.reg" ]; then
  # Setup takes an existing program folder only from its administrators, and Wine keeps no
  # folder owners: the old driver and folder go first, all but the user's container list.
  wine sc stop Sorvane >/dev/null 2>&1 || true
  wine sc delete Sorvane >/dev/null 2>&1 || true
  wineserver -w
  kept=$(mktemp)
  cp -p "$progdir/List.ini" "$kept" 2>/dev/null || rm -f "$kept"
  rm -rf "$progdir"
  scripts/wine-install build/windows/bin
  if [ -f "$kept" ]; then mv "$kept" "$progdir/List.ini"; fi
else
  scripts/wine-prefix build/windows/bin
fi
shot=$PWD/build/sorvdesk-screen.png
echo "Starting the management program on display $DISPLAY"
wine "$progdir/SorvDesk.exe" &
desk=$!
# A picture of the display once the window is there and has finished drawing.
for _ in $(seq 150); do
  xwininfo -root -tree 2>/dev/null | grep -q 'Velkiro' && break
  sleep 0.2
done
last=
for _ in $(seq 20); do
  sleep 0.5
  import -window root "$shot" 2>/dev/null || continue
  sum=$(md5sum < "$shot")
  [ "$sum" = "$last" ] && break
  last=$sum
done
echo "Screenshot of the display: $shot"
if [ -n "${SORV_XVFB_PID:-}" ]; then
  # Nobody can use a window on the virtual display: close the program and the display again.
  echo "(virtual display $DISPLAY: the program is ended again)"
  wineserver -k 2>/dev/null || true
  kill "$SORV_XVFB_PID" 2>/dev/null || true
else
  wait "$desk"
fi
