#!/usr/bin/env bash
# soramado-preview as a user meets it: answers, refusals and the picture.
set -u
preview=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

out=$("$preview" --city 2 --at "2003-05-01 17:50:30" --at "2003-05-01 18:10:00")
expected="2003-05-01 17:50:30 city=2 sunrise=5:18:24 sunset=18:03:36 phase=4 stars=9
2003-05-01 18:10:00 city=2 sunrise=5:18:24 sunset=18:03:36 phase=5 stars=13"
[ "$out" = "$expected" ] || fail "two moments: got '$out'"

out=$(printf '2003-06-20 12:00:00\n\n2003-12-20 12:00:00\n' | "$preview" --city 0 --at -)
expected="2003-06-20 12:00:00 city=0 sunrise=4:34:43 sunset=18:34:37 phase=3 stars=0
2003-12-20 12:00:00 city=0 sunrise=6:34:37 sunset=16:34:43 phase=3 stars=0"
[ "$out" = "$expected" ] || fail "standard input: got '$out'"

for bad in "--city 6" "--city x" "--city -1"; do
    out=$("$preview" $bad --at "2003-05-01 12:00:00" 2>"$tmp/err"); status=$?
    [ $status -eq 2 ] || fail "$bad: exit $status"
    [ -z "$out" ] || fail "$bad: printed '$out'"
    grep -q "'${bad#--city }'" "$tmp/err" || fail "$bad: message does not name the value: $(cat "$tmp/err")"
done

out=$(printf '2003-05-01 12:00:00\n2003-02-30 12:00:00\n' | "$preview" --city 2 --at - 2>"$tmp/err"); status=$?
[ $status -eq 2 ] || fail "bad timestamp: exit $status"
[ "$(echo "$out" | wc -l)" -eq 1 ] || fail "bad timestamp: printed '$out'"
grep -q "'2003-02-30 12:00:00'" "$tmp/err" || fail "bad timestamp not named: $(cat "$tmp/err")"

"$preview" --city 2 --at "2003-05-01 18:10:00" --png "$tmp/dusk.png" --seed 7 >/dev/null || fail "--png failed"
"$preview" --city 2 --at "2003-05-01 18:10:00" --png "$tmp/again.png" --seed 7 >/dev/null
cmp -s "$tmp/dusk.png" "$tmp/again.png" || fail "--png with one seed is not repeatable"
# 160 × 120, read from the PNG header.
size=$(od -An -tu1 -j16 -N8 "$tmp/dusk.png" | tr -s ' ')
[ "$size" = " 0 0 0 160 0 0 0 120" ] || fail "--png size: $size"

if [ $failures -eq 0 ]; then echo "preview: all checks passed"; fi
exit $((failures > 0))
