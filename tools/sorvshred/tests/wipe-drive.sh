#!/usr/bin/env bash
# up DIR: drive K: over the host folder DIR, filled afresh with what the wipe must and must
# not touch (host links, a file with two names, a tree deeper than 260 characters).
# down DIR: the drive and the folder gone. K: because no other test takes it.
set -eu
. "$(dirname "$0")/../../../scripts/wine-env.sh"
dir=$(realpath -m "$2")
devices=$WINEPREFIX/dosdevices
rm -f "$devices/k:"
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
ln -sfn "$dir" "$devices/k:"
