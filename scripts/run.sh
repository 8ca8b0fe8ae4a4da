#!/usr/bin/env bash
# Installs what is missing, builds, prepares the Wine prefix with the programs in their
# program folder and the driver installed, then starts the management program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
. scripts/wine-env.sh
export WINEPREFIX=${SORV_WINEPREFIX:-$SORV_ROOT/build/run-prefix}
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
