#!/usr/bin/env bash
# Runs disk_bench in this checkout's Wine prefix (the driver installed there), then
# `openssl speed -evp aes-128-xts` on the same machine, and prints the in-memory XTS
# speed against OpenSSL's best block size as "xts / openssl: R".
# Usage: platform/driver/bench/disk_bench.sh [build/windows/bin]
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
bin=${1:-$root/build/windows/bin}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$root/scripts/wine-run" "$bin/disk_bench.exe" | tr -d '\r' | tee "$out"
ours=$(sed -n 's/^xts: \([0-9.]*\) GB\/s$/\1/p' "$out")
# The last line holds 1000s of bytes a second for each block size; take the best.
openssl speed -evp aes-128-xts 2>/dev/null | tr -d '\r' | tee "$out" | tail -n 3
theirs=$(awk '/^AES-128-XTS/ { best = 0; for (i = 2; i <= NF; ++i) { v = $i; sub(/k$/, "", v);
  if (v + 0 > best) best = v + 0 } print best / 1e6 }' "$out")
echo "openssl: $theirs GB/s"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "xts / openssl: %.2f\n", a / b }'
