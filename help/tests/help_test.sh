#!/usr/bin/env bash
# help.chm is a CHM file that holds every page of the project byte for byte and lists each
# page in its contents; setup installed the same file into the program folder.
# Usage: help_test.sh HELP_CHM HELP_SOURCE_DIR
set -uo pipefail
chm=$1 src=$2
fail=0
bad() { echo "FAIL: $*"; fail=1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

listing=$(enum_chmLib "$chm") || bad "enum_chmLib cannot read $chm"
extract_chmLib "$chm" "$out/pages" >/dev/null || bad "extract_chmLib cannot read $chm"
pages=$(sed -n '/^\[FILES\]/,$p' "$src/help.hhp" | tail -n +2 | tr -d '\r' | grep .)
for page in $pages; do
  grep -qE "[[:space:]]/$page\$" <<<"$listing" || bad "$page not listed"
  cmp -s "$src/$page" "$out/pages/$page" || bad "$page differs from its source"
done
# Every page but the style sheet has its entry in the contents, with its own title.
toc=$(iconv -f GBK -t UTF-8 "$out/pages/toc.hhc") || bad "contents not in GBK"
for page in $pages; do
  [[ $page == *.html ]] || continue
  title=$(sed -n 's|.*<title>\(.*\)</title>.*|\1|p' "$src/$page")
  grep -A1 "value=\"$title\"" <<<"$toc" | grep -q "value=\"$page\"" ||
    bad "$page ($title) not in the contents"
done
installed="${WINEPREFIX:?}/drive_c/Program Files/Sorvane/help.chm"
cmp -s "$chm" "$installed" || bad "the program folder has no copy of $chm"
[ $fail = 0 ] && echo "help.chm: $(wc -w <<<"$pages") pages read back"
exit $fail
