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
# A new prefix the first time; afterwards only the programs and the driver are renewed.
if [ -f "$WINEPREFIX/system.reg" ]; then
  scripts/wine-install build/windows/bin
else
  scripts/wine-prefix build/windows/bin
fi
progdir="$WINEPREFIX/drive_c/Program Files/Sorvane"
if [ -f "$progdir/SorvDesk.exe" ]; then
  echo "Starting the management program on display $DISPLAY"
  wine "$progdir/SorvDesk.exe"
else
  echo "Built into build/windows/bin and installed into $progdir"
  echo "(Wine prefix $WINEPREFIX, driver service \"Sorvane\" loaded)."
  echo "The management program is not built yet, so nothing is started."
fi
