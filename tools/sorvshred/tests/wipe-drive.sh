#!/usr/bin/env bash
# up DIR: drive K: over the host folder DIR, filled afresh with what the wipe must and must
# not touch (host links, a file with two names, a tree deeper than 260 characters, names that
# differ by a trailing dot or blank, sparse files on a full small file system where one can be
# mounted), and a helper that swaps a folder for a host link when the test asks.
# down DIR: the drive and the folder gone. K: because no other test takes it.
set -eu
. "$(dirname "$0")/../../../scripts/wine-env.sh"
dir=$(realpath -m "$2")
devices=$WINEPREFIX/dosdevices
rm -f "$devices/k:"
umount "$dir/small" 2>/dev/null || true
rm -rf "$dir"  # never follows the links inside
[ "$1" = up ] || exit 0

mkdir -p "$dir/outside/sub" "$dir/links/sub" "$dir/hard" "$dir/streams" "$dir/stream-data"
printf 'kept outside\n' > "$dir/outside/keep.txt"
printf 'kept too\n' > "$dir/outside/sub/deeper.txt"
printf 'one file, two names\n' > "$dir/outside/shared.txt"
# A folder holding a link to the outside folder; a link alone, given as the path itself.
printf 'wipe me\n' > "$dir/links/a.txt"
printf 'wipe me too\n' > "$dir/links/sub/b.txt"
ln -s ../outside "$dir/links/to-outside"
ln -s outside "$dir/alone"
# The shared file's second name inside the wiped folder.
ln "$dir/outside/shared.txt" "$dir/hard/inner.txt"
printf 'only name\n' > "$dir/hard/plain.txt"
# Twelve levels of 31 characters: about 390 characters below K:\deep.
deep=$dir/deep
for i in 01 02 03 04 05 06 07 08 09 10 11 12; do
  deep=$deep/level-$i-abcdefghijklmnopqrstuvw
  mkdir -p "$deep"
  printf 'deep %s\n' "$i" > "$deep/file-$i.txt"
done
# A file whose named streams the test's seam keeps in stream-data.
printf 'main stream\n' > "$dir/streams/s.txt"
printf 'stream a old bytes\n' > "$dir/stream-data/a"
printf 'stream b, older bytes\n' > "$dir/stream-data/b"
# Names that the path functions would take for one another.
mkdir -p "$dir/names" "$dir/swap/sub" "$dir/streams2"
printf 'dot\n' > "$dir/names/name.txt."
printf 'no dot\n' > "$dir/names/name.txt"
printf 'blank\n' > "$dir/names/sp.txt "
printf 'no blank\n' > "$dir/names/sp.txt"
# A file whose folder the test replaces with another folder holding a file of that name
# while the user reads the confirmation.
mkdir -p "$dir/above/mid" "$dir/decoy"
printf 'confirmed\n' > "$dir/above/mid/t.txt"
printf 'not confirmed\n' > "$dir/decoy/t.txt"
# A file with one stream that opens and one that another program holds.
printf 'main t\n' > "$dir/streams2/t.txt"
printf 'stream c old bytes\n' > "$dir/stream-data/c"
printf 'stream d old bytes\n' > "$dir/stream-data/d"
# A folder whose sub-folder the helper below replaces with a link to the outside folder once
# the test creates swap-request (and removes that file when done). It ends with the folder.
printf 'wipe a\n' > "$dir/swap/a.txt"
printf 'wipe b\n' > "$dir/swap/sub/b.txt"
setsid bash -c 'for _ in $(seq 6000); do
  [ -d "$0" ] || exit 0
  if [ -e "$0/swap-request" ]; then
    mv "$0/swap/sub" "$0/swap/sub-away" && ln -s ../outside "$0/swap/sub"
    rm -f "$0/swap-request"
    exit 0
  fi
  sleep 0.1
done' "$dir" </dev/null >/dev/null 2>&1 &
# A full 1 MiB file system (tmpfs, where this user may mount one) with two sparse files of
# 2 MiB holding 64 KiB of data at 0 and at 1 MiB.
mkdir -p "$dir/small"
if mount -t tmpfs -o size=1m sorvshred-small "$dir/small" 2>/dev/null; then
  for name in ranges.bin whole.bin; do
    truncate -s 2M "$dir/small/$name"
    for at in 0 16; do
      head -c 65536 /dev/urandom | tr '\000' 'x' |
        dd of="$dir/small/$name" bs=64k seek=$at conv=notrunc status=none
    done
  done
  dd if=/dev/zero of="$dir/small/filler" bs=4k status=none 2>/dev/null || true
fi
ln -sfn "$dir" "$devices/k:"
