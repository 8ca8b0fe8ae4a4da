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
[ -f "$WINEPREFIX/system.reg" ] || scripts/wine-prefix build/windows/bin
progdir="$WINEPREFIX/drive_c/Program Files/Sorvane"
if [ -f "$progdir/SorvDesk.exe" ]; then
  echo "Starting the management program on display $DISPLAY"
  wine "$progdir/SorvDesk.exe"
else
  echo "Built into build/windows/bin; the Wine prefix is $WINEPREFIX."
  echo "The window programs are not built yet; nothing to start."
fi
