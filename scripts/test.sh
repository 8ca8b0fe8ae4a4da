#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
. scripts/wine-env.sh
. scripts/display.sh
trap '[ -n "${SORV_XVFB_PID:-}" ] && kill $SORV_XVFB_PID 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows

status=0
ctest --preset native || status=1
# A fresh prefix for every run, made once before the Windows tests start.
scripts/wine-prefix build/windows/bin
ctest --preset windows || status=1
exit $status
