#!/usr/bin/env bash
# up DIR: drive M: over a 2 MiB tmpfs (DIR/exact), drive N: over a folder (DIR/roomy) whose
# subfolder "inner" is a 1 MiB tmpfs. down DIR: both undone. Needs root for the mounts; without
# them nothing is made and the tests that need the drives skip.
# M: and N: because no other test takes them (the driver tests use Q: and R:).
set -u
. "$(dirname "$0")/../../scripts/wine-env.sh"
dir=$(realpath -m "$2")
devices=$WINEPREFIX/dosdevices
case $1 in
  up)
    mkdir -p "$dir/exact" "$dir/roomy/inner" "$devices"
    if { mountpoint -q "$dir/exact" || mount -t tmpfs -o size=2m sorv-exact "$dir/exact"; } &&
       { mountpoint -q "$dir/roomy/inner" ||
         mount -t tmpfs -o size=1m sorv-inner "$dir/roomy/inner"; } 2>/dev/null; then
      # Empty, whatever an interrupted run left there.
      find "$dir/exact" "$dir/roomy/inner" -mindepth 1 -delete
      ln -sfn "$dir/exact" "$devices/m:"
      ln -sfn "$dir/roomy" "$devices/n:"
    else
      echo "no tmpfs mounts here: the small-drive cases will skip"
    fi ;;
  down)
    rm -f "$devices/m:" "$devices/n:"
    for m in "$dir/exact" "$dir/roomy/inner"; do
      mountpoint -q "$m" && umount "$m"
    done ;;
esac
exit 0
